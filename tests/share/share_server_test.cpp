#include "decode/png_decoder.h"
#include "share/share_server.h"
#include "test_phone.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tessera {
namespace {

class ShareServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(server.start(ShareAddress{"127.0.0.1", false, 0}), "");
        port = server.port();
        ASSERT_GT(port, 0);
    }

    // Takes events until there are count of them (or ten seconds pass: a failure).
    std::vector<BrushEvent> events(std::size_t count) {
        std::vector<BrushEvent> all;
        std::vector<BrushEvent> taken;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (all.size() < count && std::chrono::steady_clock::now() < deadline) {
            server.takeEvents(taken);
            all.insert(all.end(), taken.begin(), taken.end());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return all;
    }

    // A new phone's brush, from its hello; 0 if it got none.
    int join(TestPhone& phone) {
        if (!phone.connect(port)) {
            return 0;
        }
        const std::string hello = phone.receiveText();
        return hello.rfind("hello ", 0) == 0 ? std::stoi(hello.substr(6)) : 0;
    }

    // The phone paints one stroke; the show sees it, in order, as that brush's.
    void expectPaints(TestPhone& phone, int brush) {
        phone.send("down 0.25 0.5");
        phone.send("move 0.5 0.75");
        phone.send("up 1 1");
        const std::vector<BrushEvent> seen = events(3);
        ASSERT_EQ(seen.size(), 3u);
        const BrushEvent::Kind kinds[] = {BrushEvent::Down, BrushEvent::Move, BrushEvent::Up};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(seen[i].kind, kinds[i]);
            EXPECT_EQ(seen[i].brush, brush);
        }
        EXPECT_FLOAT_EQ(seen[1].u, 0.5f);
        EXPECT_FLOAT_EQ(seen[1].v, 0.75f);
    }

    ShareServer server;
    int port = 0;
};

std::string statusLine(const std::string& response) {
    return response.substr(0, response.find("\r\n"));
}

TEST_F(ShareServerTest, PhonesPaintAreToldOfPicturesAndLeaveGone) {
    TestPhone first;
    TestPhone second;
    const std::string page = "Origin: http://127.0.0.1:" + std::to_string(port) + "\r\n";
    EXPECT_EQ(first.connect(port, "/brush", page) ? first.receiveText() : "", "hello 1 0 640 480");
    TestPhone elsewhere; // a page from another server, open in a browser in the room
    EXPECT_FALSE(elsewhere.connect(port, "/brush", "Origin: http://example.com\r\n"));
    EXPECT_EQ(join(second), 2);
    expectPaints(second, 2);

    const unsigned char pixel[4] = {1, 2, 3, 255};
    ASSERT_EQ(server.setPicture(pixel, 1, 1, 800, 600), "");
    EXPECT_EQ(first.receiveText(), "picture 1 800 600");
    EXPECT_EQ(second.receiveText(), "picture 1 800 600");
    TestPhone third; // hears of the picture in its hello, and only there
    EXPECT_EQ(third.connect(port) ? third.receiveText() : "", "hello 3 1 800 600");
    ASSERT_EQ(server.setPicture(pixel, 1, 1, 640, 480), "");
    EXPECT_EQ(third.receiveText(), "picture 2 640 480");

    second.close();
    const std::vector<BrushEvent> gone = events(1);
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].kind, BrushEvent::Gone);
    EXPECT_EQ(gone[0].brush, 2);
    EXPECT_EQ(server.phoneCount(), 2);
    server.stop();
    EXPECT_EQ(first.closeCode(), 1001);
    EXPECT_EQ(events(2).size(), 2u); // the last two phones are gone
}

TEST_F(ShareServerTest, SaysWhyItCannotListen) {
    ShareServer second;
    const std::string error = second.start(ShareAddress{"127.0.0.1", false, port});
    EXPECT_EQ(error.rfind("cannot listen at 127.0.0.1:" + std::to_string(port) + ": ", 0), 0u)
        << error;
    EXPECT_EQ(second.pageAddress(), "");
    EXPECT_EQ(server.start(ShareAddress{"127.0.0.1", false, 0}),
              "the phones' server is already running");
}

TEST_F(ShareServerTest, ServesThePageAndThePictureOnly) {
    const std::pair<const char*, const char*> requests[] = {
        {"GET / HTTP/1.1", "HTTP/1.1 200 OK"},
        {"GET /phone.js HTTP/1.1", "HTTP/1.1 200 OK"},
        {"GET /phone.css?x=1 HTTP/1.1", "HTTP/1.1 200 OK"},
        {"GET /picture HTTP/1.1", "HTTP/1.1 404 Not Found"}, // none yet
        {"GET /../CMakeLists.txt HTTP/1.1", "HTTP/1.1 404 Not Found"},
        {"GET /share/phone/phone.js HTTP/1.1", "HTTP/1.1 404 Not Found"},
        {"GET /brush HTTP/1.1", "HTTP/1.1 404 Not Found"},
        {"POST / HTTP/1.1", "HTTP/1.1 405 Method Not Allowed"},
    };
    for (const auto& [request, status] : requests) {
        const std::string response = httpRequest(port, std::string(request) + "\r\n\r\n");
        EXPECT_EQ(statusLine(response), status) << request;
    }
    EXPECT_NE(httpRequest(port, "GET / HTTP/1.0\r\n\r\n").find("<script src=\"phone.js\">"),
              std::string::npos);

    // Rows come bottom-up, as the Canvas keeps them; the PNG has them top-down, and a
    // picture larger than a phone needs is shrunk to 1024 on its long side.
    struct Row {
        int width, height, pngWidth, pngHeight;
    };
    for (const Row& row : {Row{1, 2, 1, 2}, Row{2048, 1000, 1024, 500}}) {
        std::vector<unsigned char> rgba(static_cast<std::size_t>(row.width) * row.height * 4, 0);
        rgba[0] = 200; // the bottom row's first pixel is red
        ASSERT_EQ(server.setPicture(rgba.data(), row.width, row.height, 640, 480), "");
        const std::string response = httpRequest(port, "GET /picture HTTP/1.1\r\n\r\n");
        ASSERT_EQ(statusLine(response), "HTTP/1.1 200 OK");
        EXPECT_NE(response.find("Content-Type: image/png"), std::string::npos);
        const std::string png = response.substr(response.find("\r\n\r\n") + 4);
        DecodedPhoto photo;
        ASSERT_EQ(decodePng(reinterpret_cast<const unsigned char*>(png.data()), png.size(), photo),
                  "");
        EXPECT_EQ(photo.image.width, row.pngWidth);
        ASSERT_EQ(photo.image.height, row.pngHeight);
        if (row.width == 1) {
            EXPECT_EQ(photo.image.pixels[0], 0);   // top
            EXPECT_EQ(photo.image.pixels[3], 200); // bottom
        }
    }
}

TEST_F(ShareServerTest, APhoneOverTheLimitIsToldFullAndBrushesAreNeverReused) {
    std::vector<std::unique_ptr<TestPhone>> phones;
    for (int brush = 1; brush <= ShareServer::defaultMaxPhones; ++brush) {
        phones.push_back(std::make_unique<TestPhone>());
        ASSERT_EQ(join(*phones.back()), brush);
    }
    TestPhone extra;
    ASSERT_TRUE(extra.connect(port));
    EXPECT_EQ(extra.receiveText(), "full");
    EXPECT_EQ(extra.closeCode(), 1013);

    phones[0]->close();
    EXPECT_EQ(events(1).size(), 1u); // its Gone: its place is free
    TestPhone late;
    EXPECT_EQ(join(late), ShareServer::defaultMaxPhones + 1);
}

TEST_F(ShareServerTest, APhoneBreakingTheRulesIsClosedAlone) {
    struct Row {
        const char* name;
        std::string payload;
        int opcode;
        bool final;
        int code;
    };
    const Row rows[] = {
        {"garbage", "paint 0.5 0.5", 1, true, 1008},
        {"binary", "down 0.5 0.5", 2, true, 1003},
        {"fragment", "down 0.5", 1, false, 1003},
        {"oversized", "down 0.5 0.5" + std::string(200, ' '), 1, true, 1009},
    };
    TestPhone good;
    const int brush = join(good);
    for (const Row& row : rows) {
        TestPhone bad;
        const int badBrush = join(bad);
        bad.send(row.payload, row.opcode, row.final);
        EXPECT_EQ(bad.closeCode(), row.code) << row.name;
        const std::vector<BrushEvent> gone = events(1);
        ASSERT_EQ(gone.size(), 1u) << row.name;
        EXPECT_EQ(gone[0].kind, BrushEvent::Gone) << row.name;
        EXPECT_EQ(gone[0].brush, badBrush) << row.name;
    }
    expectPaints(good, brush);
}

TEST_F(ShareServerTest, ABurstBeyondTheRateIsDroppedNotQueued) {
    TestPhone phone;
    join(phone);
    constexpr int sent = 200;
    phone.send("down 0.5 0.5");
    for (int i = 1; i < sent - 1; ++i) {
        phone.send("move 0.5 0.5");
    }
    phone.send("up 0.5 0.5"); // past the rate, but it ends the stroke: it passes
    phone.send("tool 9");     // closes the phone: after it, every move has been counted
    EXPECT_EQ(phone.closeCode(), 1008);
    std::vector<BrushEvent> seen = events(1);
    while (!seen.empty() && seen.back().kind != BrushEvent::Gone) {
        const std::vector<BrushEvent> more = events(1);
        ASSERT_FALSE(more.empty()) << "no Gone";
        seen.insert(seen.end(), more.begin(), more.end());
    }
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[seen.size() - 2].kind, BrushEvent::Up);
    EXPECT_EQ(seen.size() - 1 + server.droppedByRate(), static_cast<std::size_t>(sent));
    EXPECT_GT(server.droppedByRate(), 0u);
}

TEST_F(ShareServerTest, ClientsThatHoldOrFloodTheDoorDoNotKeepPhonesOut) {
    // One never finishes its handshake.
    TestPhone stalled;
    ASSERT_TRUE(stalled.openSocket(port));
    stalled.sendRaw("GET /brush HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    TestPhone phone;
    const int brush = join(phone);
    ASSERT_GT(brush, 0);
    expectPaints(phone, brush);
    phone.close();
    events(1); // its Gone

    // A thousand open at once while a phone paints on, then go.
    TestPhone painter;
    const int painterBrush = join(painter);
    ASSERT_GT(painterBrush, 0);
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    setrlimit(RLIMIT_NOFILE, &files);
    std::vector<int> sockets;
    for (int i = 0; i < 1000; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ASSERT_GE(fd, 0) << "socket " << i;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        sockets.push_back(fd);
    }
    // Each connects (up to the listening queue's length) before any goes.
    for (const int fd : sockets) {
        pollfd connecting{fd, POLLOUT, 0};
        poll(&connecting, 1, 5);
    }
    expectPaints(painter, painterBrush);
    for (const int fd : sockets) {
        ::close(fd);
    }
    TestPhone after;
    const int afterBrush = join(after);
    ASSERT_GT(afterBrush, 0);
    expectPaints(after, afterBrush);
}

} // namespace
} // namespace tessera
