#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tessera::test {

// Runs work in a child process without the right to read other users' files (as nobody
// when the test runs as root, where permissions stop nothing) and gives what it returned.
inline std::optional<std::string> withoutPrivileges(const std::function<std::string()>& work) {
    int channel[2];
    if (pipe(channel) != 0) {
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        const std::string result = work();
        const bool written =
            write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        _exit(written ? 0 : 3);
    }
    close(channel[1]);
    std::string result;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(channel[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return result;
}

} // namespace tessera::test
