#include "test_phone.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tessera {
namespace {

int openTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool readExactly(int fd, char* to, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, to, size, 0);
        if (got <= 0) {
            return false;
        }
        to += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace

TestPhone::~TestPhone() {
    close();
}

bool TestPhone::openSocket(int port) {
    close();
    socket_ = openTo(port);
    return socket_ >= 0;
}

bool TestPhone::connect(int port, const char* path, const std::string& headers) {
    if (!openSocket(port)) {
        return false;
    }
    sendRaw(std::string("GET ") + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
            "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n" +
            headers + "\r\n");
    std::string head;
    char c = 0;
    while (head.size() < 4096 && head.find("\r\n\r\n") == std::string::npos) {
        if (!readExactly(socket_, &c, 1)) {
            return false;
        }
        head += c;
    }
    return head.rfind("HTTP/1.1 101", 0) == 0;
}

void TestPhone::sendRaw(std::string_view bytes) {
    ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void TestPhone::send(std::string_view payload, int opcode, bool final) {
    std::string frame(1, static_cast<char>((final ? 0x80 : 0) | opcode));
    const std::size_t size = payload.size();
    if (size < 126) {
        frame += static_cast<char>(0x80 | size);
    } else {
        frame += static_cast<char>(0x80 | 126);
        frame += static_cast<char>(size >> 8);
        frame += static_cast<char>(size & 0xff);
    }
    const char mask[4] = {0x12, 0x34, 0x56, 0x78};
    frame.append(mask, 4);
    for (std::size_t i = 0; i < size; ++i) {
        frame += static_cast<char>(payload[i] ^ mask[i % 4]);
    }
    sendRaw(frame);
}

TestPhone::Frame TestPhone::receive() {
    Frame frame;
    unsigned char head[2];
    if (socket_ < 0 || !readExactly(socket_, reinterpret_cast<char*>(head), 2)) {
        return frame;
    }
    std::size_t size = head[1] & 0x7f;
    if (size >= 126) {
        unsigned char longer[8];
        const std::size_t bytes = size == 126 ? 2 : 8;
        if (!readExactly(socket_, reinterpret_cast<char*>(longer), bytes)) {
            return frame;
        }
        size = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            size = size << 8 | longer[i];
        }
    }
    std::string payload(size, '\0');
    if (size > 0 && !readExactly(socket_, payload.data(), size)) {
        return frame;
    }
    frame.opcode = head[0] & 0x0f;
    frame.payload = std::move(payload);
    return frame;
}

std::string TestPhone::receiveText() {
    for (Frame frame = receive(); frame.opcode >= 0; frame = receive()) {
        if (frame.opcode == 1) {
            return frame.payload;
        }
    }
    return "";
}

int TestPhone::closeCode() {
    for (Frame frame = receive(); frame.opcode >= 0; frame = receive()) {
        if (frame.opcode == 8 && frame.payload.size() >= 2) {
            return static_cast<unsigned char>(frame.payload[0]) << 8 |
                   static_cast<unsigned char>(frame.payload[1]);
        }
    }
    return 0;
}

void TestPhone::close() {
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

std::string httpRequest(int port, const std::string& request) {
    const int fd = openTo(port);
    if (fd < 0) {
        return "";
    }
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string response;
    char buffer[4096];
    for (ssize_t got = ::recv(fd, buffer, sizeof buffer, 0); got > 0;
         got = ::recv(fd, buffer, sizeof buffer, 0)) {
        response.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return response;
}

} // namespace tessera
