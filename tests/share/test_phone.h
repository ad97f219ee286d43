#pragma once

#include <string>
#include <string_view>

namespace tessera {

// A phone as the server meets it, over a plain socket to 127.0.0.1, so that a test can
// also send what no browser would. Every read gives up after a few seconds, so that a
// server that never answers fails the test instead of hanging it.
class TestPhone {
public:
    struct Frame {
        int opcode = -1; // -1: the connection ended (or nothing came in time)
        std::string payload;
    };

    TestPhone() = default;
    ~TestPhone();
    TestPhone(const TestPhone&) = delete;
    TestPhone& operator=(const TestPhone&) = delete;

    // Opens the socket and, unless told not to, completes the WebSocket handshake at path.
    // Returns false if either fails.
    bool connect(int port, const char* path = "/brush", const std::string& headers = "");
    bool openSocket(int port);
    void sendRaw(std::string_view bytes);
    // Sends one frame, masked as a client must.
    void send(std::string_view payload, int opcode = 1, bool final = true);
    Frame receive();
    // The next text frame's payload, or "" if the connection ended first.
    std::string receiveText();
    // Reads until the server closes; returns the close frame's code, or 0 without one.
    int closeCode();
    void close();

private:
    int socket_ = -1;
};

// Sends request as it is to the server and returns the whole response.
std::string httpRequest(int port, const std::string& request);

} // namespace tessera
