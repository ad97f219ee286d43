// Loads the phones' server as a room full of phones would: PHONES phones (default 50), each
// sending EVENTS moves a second (60) for SECONDS (60), to a server in this process, which
// the show's loop empties every frame. Reports the events sent and received, those lost or
// out of order within a phone, what the server dropped, and the memory (RSS) at the start
// and the end. With --to PORT the phones paint instead on a program already serving them at
// 127.0.0.1:PORT (tessera --share 127.0.0.1:PORT --share-max 50): each a stroke from its
// first move to its last, and the program tells at its end how soon their events showed.
// Usage: bench/share_load [--to PORT] [PHONES [EVENTS [SECONDS]]]
#include "share/share_server.h"
#include "share/test_phone.h"
#include "support/resident_memory.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int argument(int argc, char** argv, int index, int fallback) {
    if (argc <= index) {
        return fallback;
    }
    const int value = std::atoi(argv[index]);
    if (value < 1) {
        std::fprintf(stderr, "usage: share_load [PHONES [EVENTS [SECONDS]]] (each at least 1)\n");
        std::exit(2);
    }
    return value;
}

// A move's place in its phone's sequence travels in its coordinates: U holds the sequence
// number's low four digits, V the next four.
std::string moveNumbered(int sequence) {
    char text[32];
    std::snprintf(text, sizeof text, "move 0.%04d 0.%04d", sequence % 10000, sequence / 10000);
    return text;
}

int sequenceOf(const tessera::BrushEvent& event) {
    return static_cast<int>(std::lround(event.u * 10000.0f)) +
           10000 * static_cast<int>(std::lround(event.v * 10000.0f));
}

struct Phone {
    std::atomic<int> sent{0};
    bool joined = false;
};

} // namespace

// Phones painting on a program of their own: each holds one stroke for the whole time.
int paintOn(int port, int phones, int rate, int seconds) {
    std::printf("%d phones, %d moves a second each, for %d s, at 127.0.0.1:%d\n", phones, rate,
                seconds, port);
    std::atomic<int> joined{0};
    std::atomic<long> sent{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < phones; ++i) {
        threads.emplace_back([&] {
            tessera::TestPhone phone;
            if (!phone.connect(port) || phone.receiveText().rfind("hello ", 0) != 0) {
                return;
            }
            ++joined;
            const auto start = Clock::now();
            const auto step = std::chrono::duration<double>(1.0 / rate);
            phone.send("down 0.5 0.5");
            for (int n = 0; n < rate * seconds; ++n) {
                std::this_thread::sleep_until(
                    start + std::chrono::duration_cast<Clock::duration>(step * n));
                phone.send(moveNumbered(n));
                ++sent;
            }
            phone.send("up 0.5 0.5");
            phone.close();
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::printf("joined %d of %d phones, sent %ld moves\n", joined.load(), phones, sent.load());
    return joined == phones ? 0 : 1;
}

int main(int argc, char** argv) {
    int port = 0;
    if (argc > 2 && std::string(argv[1]) == "--to") {
        port = std::atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    const int phones = argument(argc, argv, 1, 50);
    const int rate = argument(argc, argv, 2, 60);
    const int seconds = argument(argc, argv, 3, 60);
    if (port > 0) {
        return paintOn(port, phones, rate, seconds);
    }

    const long startKiB = tessera::test::residentKib();
    tessera::ShareServer server;
    if (std::string error = server.start(tessera::ShareAddress{"127.0.0.1", false, 0}, phones);
        !error.empty()) {
        std::fprintf(stderr, "share_load: %s\n", error.c_str());
        return 1;
    }
    std::printf("%d phones, %d moves a second each, for %d s, at %s\n", phones, rate, seconds,
                server.pageAddress().c_str());

    std::vector<Phone> state(static_cast<std::size_t>(phones));
    std::atomic<bool> done{false};
    std::vector<std::thread> threads;
    const int serverPort = server.port();
    for (int i = 0; i < phones; ++i) {
        threads.emplace_back([&, i] {
            tessera::TestPhone phone;
            Phone& mine = state[static_cast<std::size_t>(i)];
            mine.joined = phone.connect(serverPort) && phone.receiveText().rfind("hello ", 0) == 0;
            if (!mine.joined) {
                return;
            }
            const auto start = Clock::now();
            const auto step = std::chrono::duration<double>(1.0 / rate);
            for (int n = 0; n < rate * seconds; ++n) {
                std::this_thread::sleep_until(
                    start + std::chrono::duration_cast<Clock::duration>(step * n));
                phone.send(moveNumbered(n));
                mine.sent = n + 1;
            }
            phone.close();
        });
    }

    // The show's side: takes the events every frame and follows each brush's sequence.
    std::map<int, int> nextOf; // brush: the sequence number expected next
    long received = 0;
    long lost = 0;
    long reordered = 0;
    int gone = 0;
    std::vector<tessera::BrushEvent> events;
    std::thread waiter([&] {
        for (std::thread& thread : threads) {
            thread.join();
        }
        done = true;
    });
    while (!done || gone < phones) {
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        server.takeEvents(events);
        for (const tessera::BrushEvent& event : events) {
            if (event.kind == tessera::BrushEvent::Gone) {
                ++gone;
                continue;
            }
            ++received;
            const int sequence = sequenceOf(event);
            int& next = nextOf[event.brush];
            if (sequence < next) {
                ++reordered;
            } else {
                lost += sequence - next;
                next = sequence + 1;
            }
        }
        if (done && gone < phones && server.phoneCount() == 0 && events.empty()) {
            break; // some phones never joined
        }
    }
    waiter.join();

    long sent = 0;
    int joined = 0;
    for (const Phone& phone : state) {
        sent += phone.sent;
        joined += phone.joined ? 1 : 0;
    }
    // What never arrived after a phone's last received move is lost too.
    long expected = 0;
    for (const auto& entry : nextOf) {
        expected += entry.second;
    }
    lost += sent - expected;
    std::printf("joined %d of %d phones\n", joined, phones);
    std::printf("sent %ld, received %ld, lost %ld, out of order %ld\n", sent, received, lost,
                reordered);
    std::printf("dropped by the server: %llu over the rate, %llu over the queue\n",
                static_cast<unsigned long long>(server.droppedByRate()),
                static_cast<unsigned long long>(server.droppedByQueue()));
    server.stop();
    std::printf("memory: %ld KiB at the start, %ld KiB at the end\n", startKiB,
                tessera::test::residentKib());
    return lost == 0 && reordered == 0 && joined == phones ? 0 : 1;
}
