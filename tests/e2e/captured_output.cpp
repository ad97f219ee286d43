#include "captured_output.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {

CapturedOutput::~CapturedOutput() {
    if (fd >= 0) {
        close(fd);
    }
}

void CapturedOutput::attach(int pipeEnd) {
    if (fd >= 0) {
        close(fd);
    }
    fd = pipeEnd;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void CapturedOutput::readAvailable() {
    char buffer[4096];
    while (fd >= 0) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            received.append(buffer, static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            if (count == 0 || errno != EAGAIN) {
                close(fd);
                fd = -1;
            }
            return;
        }
    }
}

std::vector<std::string> CapturedOutput::lines() const {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end = received.find('\n'); end != std::string::npos;
         end = received.find('\n', start)) {
        result.push_back(received.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

} // namespace tessera
