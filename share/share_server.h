#pragma once

#include "session/brush_event.h"
#include "share/share_address.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct mg_connection;
struct mg_context;

namespace tessera {

// Serves the phones in the room: the phone's page and the current picture over HTTP, and a
// WebSocket at /brush through which each phone's touches arrive as brush events for the
// show. Every request runs on civetweb's threads; the show's thread takes the events and
// gives the picture.
//
// A phone is told "hello BRUSH GENERATION BOARDW BOARDH" when it connects and
// "picture GENERATION BOARDW BOARDH" whenever the picture changes (then it fetches
// /picture); one over the limit is told "full" and closed. A phone's messages are read by
// readBrushMessage; one that sends something else is closed, the others go on. A browser
// may connect only from the page this server gave it: any other page open on a machine in
// the room could otherwise paint.
class ShareServer {
public:
    static constexpr int defaultMaxPhones = 16;
    // Each phone's sustained rate and burst, well above a finger's 60 moves a second.
    static constexpr double eventsPerSecond = 120.0;
    static constexpr double eventBurst = 30.0;

    ShareServer();
    ~ShareServer(); // stops
    ShareServer(const ShareServer&) = delete;
    ShareServer& operator=(const ShareServer&) = delete;

    // Listens at address for up to maxPhones phones at once. Returns an empty string or the
    // one-line reason it cannot listen there.
    std::string start(const ShareAddress& address, int maxPhones = defaultMaxPhones);
    // Closes every phone (each leaves a Gone event) and stops listening; waits for
    // civetweb's threads. Nothing happens if the server is not running.
    void stop();

    // The picture phones are shown: width x height RGBA pixels, rows bottom-up as the
    // Canvas keeps them (Canvas::picturePixels), on a board of boardWidth x boardHeight.
    // Kept as a PNG of at most 1024 pixels on its long side; every phone is told of it on
    // a thread of the server's, so that a phone that stops reading never holds up the
    // caller. Returns an empty string or the reason the picture could not be encoded (the
    // previous one stays).
    std::string setPicture(const unsigned char* rgba, int width, int height, int boardWidth,
                           int boardHeight);

    // Hands over the events that arrived since the last call, in arrival order (replacing
    // out's contents).
    void takeEvents(std::vector<BrushEvent>& out);

    int phoneCount() const;
    // The port listened on (the system's choice when given 0), 0 when not running.
    int port() const;
    // What a phone opens, e.g. "http://192.168.1.20:8080/"; empty when not running.
    std::string pageAddress() const;

    // Events dropped because a phone sent faster than its rate, or because the show has
    // not taken the waiting ones.
    std::uint64_t droppedByRate() const { return droppedByRate_; }
    std::uint64_t droppedByQueue() const { return droppedByQueue_; }

private:
    struct Phone;

    static int onRequest(mg_connection* conn, void* server);
    static int onConnect(const mg_connection* conn, void* server);
    static void onReady(mg_connection* conn, void* server);
    static int onData(mg_connection* conn, int bits, char* data, std::size_t size, void* server);
    static void onClose(const mg_connection* conn, void* server);

    int serve(mg_connection* conn);
    void welcome(mg_connection* conn);
    bool receive(mg_connection* conn, int bits, const char* data, std::size_t size);
    void farewell(const mg_connection* conn);
    void queue(const BrushEvent& event);
    void tellPhones();

    mg_context* context_ = nullptr;
    ShareAddress address_;
    int port_ = 0;
    int maxPhones_ = defaultMaxPhones;
    std::size_t maxQueued_ = 0;

    // Held while a phone joins or leaves and while phones are told of a new picture, so
    // that each hears of every generation after its hello's, once and in order. Taken
    // before pictureMutex_.
    mutable std::mutex phonesMutex_;
    std::map<const mg_connection*, std::unique_ptr<Phone>> phones_;
    int nextBrush_ = 1;

    mutable std::mutex pictureMutex_;
    std::shared_ptr<const std::string> png_;
    std::uint64_t generation_ = 0;
    int boardWidth_ = 640;
    int boardHeight_ = 480;
    // Wakes the teller for a new generation, or to end.
    std::condition_variable pictureChanged_;
    bool stopping_ = false;
    std::thread teller_;

    std::mutex eventsMutex_;
    std::vector<BrushEvent> events_;
    std::atomic<std::uint64_t> droppedByRate_{0};
    std::atomic<std::uint64_t> droppedByQueue_{0};
};

} // namespace tessera
