#include "share/share_server.h"

#include "image/box_resampler.h"
#include "photo/png_writer.h"
#include "share/brush_message.h"
#include "share/phone_files.h"
#include "share/token_bucket.h"

#include <algorithm>
#include <civetweb.h>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tessera {

struct ShareServer::Phone {
    int brush;
    TokenBucket bucket;           // touched only on the phone's own thread
    std::uint64_t toldGeneration; // under phonesMutex_
};

namespace {

// Threads beyond one a phone: page and picture requests, and connections that are still
// shaking hands or being told "full".
constexpr int spareThreads = 8;
// The picture phones fetch is at most this long on its long side.
constexpr int maxPictureSide = 1024;
// How long the show may leave events waiting, at the highest rate of every phone, before
// new ones are dropped: about a minute.
constexpr std::size_t queuedSecondsPerPhone = 64;

// WebSocket close codes (RFC 6455, 7.4.1).
constexpr int closeUnsupportedData = 1003;
constexpr int closePolicyViolation = 1008;
constexpr int closeTooBig = 1009;
constexpr int closeTryAgainLater = 1013;

void sendText(mg_connection* conn, const std::string& text) {
    mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_TEXT, text.data(), text.size());
}

void sendClose(mg_connection* conn, int code, std::string_view reason) {
    // A close frame's payload is at most 125 bytes: the code and a reason.
    std::string payload{static_cast<char>(code >> 8), static_cast<char>(code & 0xff)};
    payload.append(reason.substr(0, 123));
    mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE, payload.data(), payload.size());
}

int respond(mg_connection* conn, int status, const char* statusText, std::string_view type,
            std::string_view body, const char* extraHeaders = "") {
    mg_printf(conn,
              "HTTP/1.1 %d %s\r\nContent-Type: %.*s\r\nContent-Length: %zu\r\n"
              "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
              "Connection: close\r\n%s\r\n",
              status, statusText, static_cast<int>(type.size()), type.data(), body.size(),
              extraHeaders);
    mg_write(conn, body.data(), body.size());
    return status;
}

// The picture's rows top-down, as PNG stores them, no larger than a phone needs.
RgbImage phonePicture(const unsigned char* rgba, int width, int height) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.pixelCount() * 3);
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = rgba + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* to = image.pixels.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            to[x * 3] = from[x * 4];
            to[x * 3 + 1] = from[x * 4 + 1];
            to[x * 3 + 2] = from[x * 4 + 2];
        }
    }
    const int longSide = std::max(width, height);
    if (longSide <= maxPictureSide) {
        return image;
    }
    const auto shrunk = [longSide](int side) {
        return std::max(1,
                        static_cast<int>(static_cast<long long>(side) * maxPictureSide / longSide));
    };
    return resampleBox(image, PixelRect{0, 0, width, height}, shrunk(width), shrunk(height));
}

std::string encodeInMemory(const RgbImage& image, std::string& png) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    if (out == nullptr) {
        return "out of memory";
    }
    std::string error = encodePng(image, out, PngPacking::Quick);
    if (std::fclose(out) != 0 && error.empty()) {
        error = "out of memory";
    }
    if (error.empty()) {
        png.assign(buffer, size);
    }
    std::free(buffer);
    return error;
}

} // namespace

ShareServer::ShareServer() = default;

ShareServer::~ShareServer() {
    stop();
}

std::string ShareServer::start(const ShareAddress& address, int maxPhones) {
    if (context_ != nullptr) {
        return "the phones' server is already running";
    }
    if (maxPhones < 1) {
        return "at least one phone must be allowed";
    }
    if (address.ipv6 && mg_check_feature(MG_FEATURES_IPV6) == 0) {
        return "this system's civetweb has no IPv6: give an IPv4 address";
    }
    maxPhones_ = maxPhones;
    maxQueued_ = static_cast<std::size_t>(maxPhones) * queuedSecondsPerPhone *
                 static_cast<std::size_t>(eventsPerSecond);
    const std::string ports = listeningPort(address);
    const std::string threads = std::to_string(maxPhones + spareThreads);
    const char* options[] = {
        "listening_ports", ports.c_str(), //
        "num_threads", threads.c_str(),   //
        // A client that does not finish its request in time loses its thread; so does one
        // that stops reading what it is sent.
        "request_timeout_ms", "5000", //
        // A quiet phone is pinged; one that leaves five pings unanswered (gone without a
        // close: out of range, asleep) is closed, so that it does not hold its place.
        "websocket_timeout_ms", "5000",      //
        "enable_websocket_ping_pong", "yes", //
        "enable_keep_alive", "no",           //
        "enable_directory_listing", "no",    //
        nullptr};
    mg_callbacks callbacks{};
    // civetweb's own messages would go to standard error; the reason for a failed start
    // comes back through the error data instead.
    callbacks.log_message = [](const mg_connection*, const char*) { return 1; };
    mg_init_data init{&callbacks, this, options};
    char reason[256] = "";
    unsigned code = 0;
    mg_error_data error{&code, reason, sizeof reason};
    mg_init_library(0);
    context_ = mg_start2(&init, &error);
    if (context_ == nullptr) {
        mg_exit_library();
        return "cannot listen at " + ports + ": " + (reason[0] != '\0' ? reason : "unknown error");
    }
    {
        std::lock_guard<std::mutex> lock(pictureMutex_);
        stopping_ = false;
    }
    teller_ = std::thread(&ShareServer::tellPhones, this);
    mg_set_request_handler(context_, "/", onRequest, this);
    mg_set_websocket_handler(context_, "/brush", onConnect, onReady, onData, onClose, this);
    mg_server_port listening[4] = {};
    port_ = mg_get_server_ports(context_, 4, listening) > 0 ? listening[0].port : address.port;
    address_ = address;
    return "";
}

void ShareServer::stop() {
    if (context_ == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(pictureMutex_);
        stopping_ = true;
    }
    pictureChanged_.notify_one();
    teller_.join();
    mg_stop(context_);
    context_ = nullptr;
    port_ = 0;
    mg_exit_library();
}

std::string ShareServer::setPicture(const unsigned char* rgba, int width, int height,
                                    int boardWidth, int boardHeight) {
    if (rgba == nullptr || width <= 0 || height <= 0 || boardWidth <= 0 || boardHeight <= 0) {
        return "no picture to show the phones";
    }
    auto png = std::make_shared<std::string>();
    if (std::string error = encodeInMemory(phonePicture(rgba, width, height), *png);
        !error.empty()) {
        return "cannot encode the picture for the phones: " + error;
    }
    {
        std::lock_guard<std::mutex> lock(pictureMutex_);
        png_ = std::move(png);
        ++generation_;
        boardWidth_ = boardWidth;
        boardHeight_ = boardHeight;
    }
    pictureChanged_.notify_one();
    return "";
}

void ShareServer::tellPhones() {
    std::uint64_t told = 0;
    for (;;) {
        std::string news;
        {
            std::unique_lock<std::mutex> lock(pictureMutex_);
            pictureChanged_.wait(lock, [&] { return stopping_ || generation_ != told; });
            if (stopping_) {
                return;
            }
            told = generation_;
            news = "picture " + std::to_string(told) + " " + std::to_string(boardWidth_) + " " +
                   std::to_string(boardHeight_);
        }
        std::lock_guard<std::mutex> lock(phonesMutex_);
        for (const auto& [conn, phone] : phones_) {
            // One that joined since has had this generation in its hello.
            if (phone->toldGeneration < told) {
                phone->toldGeneration = told;
                sendText(const_cast<mg_connection*>(conn), news);
            }
        }
    }
}

void ShareServer::takeEvents(std::vector<BrushEvent>& out) {
    out.clear();
    std::lock_guard<std::mutex> lock(eventsMutex_);
    out.swap(events_);
}

int ShareServer::phoneCount() const {
    std::lock_guard<std::mutex> lock(phonesMutex_);
    return static_cast<int>(phones_.size());
}

int ShareServer::port() const {
    return port_;
}

std::string ShareServer::pageAddress() const {
    return context_ != nullptr ? tessera::pageAddress(address_, port_) : "";
}

int ShareServer::onRequest(mg_connection* conn, void* server) {
    return static_cast<ShareServer*>(server)->serve(conn);
}

int ShareServer::onConnect(const mg_connection* conn, void*) {
    // Browsers name the page's origin; only a browser can be made to connect by a page.
    const char* origin = mg_get_header(conn, "Origin");
    const char* host = mg_get_header(conn, "Host");
    const bool samePage =
        origin == nullptr || (host != nullptr && origin == "http://" + std::string(host));
    return samePage ? 0 : 1;
}

void ShareServer::onReady(mg_connection* conn, void* server) {
    static_cast<ShareServer*>(server)->welcome(conn);
}

int ShareServer::onData(mg_connection* conn, int bits, char* data, std::size_t size, void* server) {
    return static_cast<ShareServer*>(server)->receive(conn, bits, data, size) ? 1 : 0;
}

void ShareServer::onClose(const mg_connection* conn, void* server) {
    static_cast<ShareServer*>(server)->farewell(conn);
}

int ShareServer::serve(mg_connection* conn) {
    const mg_request_info* request = mg_get_request_info(conn);
    const std::string_view path = request->local_uri != nullptr ? request->local_uri : "";
    if (std::string_view(request->request_method) != "GET") {
        return respond(conn, 405, "Method Not Allowed", "text/plain", "GET only\n",
                       "Allow: GET\r\n");
    }
    if (path == "/picture") {
        std::shared_ptr<const std::string> png;
        {
            std::lock_guard<std::mutex> lock(pictureMutex_);
            png = png_;
        }
        if (png == nullptr) {
            return respond(conn, 404, "Not Found", "text/plain", "no picture yet\n");
        }
        return respond(conn, 200, "OK", "image/png", *png);
    }
    if (const PhoneFile* file = findPhoneFile(path)) {
        return respond(conn, 200, "OK", file->contentType, file->bytes);
    }
    return respond(conn, 404, "Not Found", "text/plain", "not found\n");
}

void ShareServer::welcome(mg_connection* conn) {
    std::lock_guard<std::mutex> lock(phonesMutex_);
    if (static_cast<int>(phones_.size()) >= maxPhones_) {
        // Left without a Phone, the connection closes at its next frame.
        mg_set_user_connection_data(conn, nullptr);
        sendText(conn, "full");
        sendClose(conn, closeTryAgainLater, "full");
        return;
    }
    auto phone = std::make_unique<Phone>(
        Phone{nextBrush_++,
              TokenBucket(eventsPerSecond, eventBurst, std::chrono::steady_clock::now()), 0});
    std::string hello = "hello " + std::to_string(phone->brush);
    {
        std::lock_guard<std::mutex> pictureLock(pictureMutex_);
        phone->toldGeneration = generation_;
        hello += " " + std::to_string(generation_) + " " + std::to_string(boardWidth_) + " " +
                 std::to_string(boardHeight_);
    }
    mg_set_user_connection_data(conn, phone.get());
    phones_[conn] = std::move(phone);
    sendText(conn, hello);
}

bool ShareServer::receive(mg_connection* conn, int bits, const char* data, std::size_t size) {
    auto* phone = static_cast<Phone*>(mg_get_user_connection_data(conn));
    if (phone == nullptr) {
        return false;
    }
    const int opcode = bits & 0x0f;
    if (opcode == MG_WEBSOCKET_OPCODE_PING || opcode == MG_WEBSOCKET_OPCODE_PONG) {
        return true;
    }
    if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE) {
        return false;
    }
    const bool final = (bits & 0x80) != 0;
    if (opcode != MG_WEBSOCKET_OPCODE_TEXT || !final) {
        sendClose(conn, closeUnsupportedData, "whole text messages only");
        return false;
    }
    if (size > maxBrushMessageBytes) {
        sendClose(conn, closeTooBig, "message is longer than 64 bytes");
        return false;
    }
    BrushEvent event;
    if (std::string error = readBrushMessage(std::string_view(data, size), event); !error.empty()) {
        sendClose(conn, closePolicyViolation, error);
        return false;
    }
    event.received = std::chrono::steady_clock::now();
    if (!phone->bucket.take(event.received)) {
        ++droppedByRate_;
        return true;
    }
    event.brush = phone->brush;
    queue(event);
    return true;
}

void ShareServer::farewell(const mg_connection* conn) {
    BrushEvent gone;
    gone.kind = BrushEvent::Gone;
    {
        std::lock_guard<std::mutex> lock(phonesMutex_);
        const auto found = phones_.find(conn);
        if (found == phones_.end()) {
            return;
        }
        gone.brush = found->second->brush;
        phones_.erase(found);
        mg_set_user_connection_data(conn, nullptr);
    }
    gone.received = std::chrono::steady_clock::now();
    queue(gone);
}

void ShareServer::queue(const BrushEvent& event) {
    std::lock_guard<std::mutex> lock(eventsMutex_);
    // A phone's end has room kept for it, one for each phone at once: a stroke it leaves
    // held would otherwise stay on the board for good.
    const std::size_t room = maxQueued_ + (event.kind == BrushEvent::Gone ? maxPhones_ : 0);
    if (events_.size() >= room) {
        ++droppedByQueue_;
        return;
    }
    events_.push_back(event);
}

} // namespace tessera
