#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tessera {
namespace {

using namespace std::chrono_literals;

constexpr auto pollInterval = 10ms;
constexpr auto stopGrace = 3s;

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// A pipe whose two ends close on exec; the child duplicates the end it needs.
struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;

    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error(systemError("pipe"));
        }
        readEnd = ends[0];
        writeEnd = ends[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int releaseRead() {
        const int fd = readEnd;
        readEnd = -1;
        return fd;
    }
    void closeRead() {
        if (readEnd >= 0) {
            close(readEnd);
            readEnd = -1;
        }
    }
    void closeWrite() {
        if (writeEnd >= 0) {
            close(writeEnd);
            writeEnd = -1;
        }
    }
};

// The path of a program named without a folder, found the way a shell finds it; exec
// itself cannot search PATH safely after fork.
std::string locate(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return program;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    throw std::runtime_error(program + " not found on PATH; tools/install-deps installs it");
}

std::string nameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        bool replaced = false;
        for (const std::string& change : changes) {
            replaced = replaced || nameOf(change) == nameOf(*entry);
        }
        if (!replaced) {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), changes.begin(), changes.end());
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Runs in the child between fork and exec, so it only makes async-signal-safe calls. A
// failure is reported to the parent as the errno value on the status pipe.
[[noreturn]] void becomeProgram(const char* folder, int outFd, int errFd, int statusFd,
                                char* const* argv, char* const* envp) {
    setpgid(0, 0);
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (chdir(folder) == 0 && nothing >= 0 && dup2(nothing, 0) >= 0 && dup2(outFd, 1) >= 0 &&
        dup2(errFd, 2) >= 0) {
        execve(argv[0], argv, envp);
    }
    const int error = errno;
    ssize_t ignored = write(statusFd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

int statusFrom(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& folder,
                           const std::vector<std::string>& setEnvironment) {
    std::vector<std::string> words = arguments;
    words.front() = locate(words.front());
    std::vector<std::string> environment = mergedEnvironment(setEnvironment);
    const std::vector<char*> argv = pointersTo(words);
    const std::vector<char*> envp = pointersTo(environment);
    Pipe out;
    Pipe err;
    Pipe status;

    processId = fork();
    if (processId < 0) {
        throw std::runtime_error(systemError("fork"));
    }
    if (processId == 0) {
        becomeProgram(folder.c_str(), out.writeEnd, err.writeEnd, status.writeEnd, argv.data(),
                      envp.data());
    }
    // Also set here, so that a signal sent before the child ran setpgid reaches it.
    setpgid(processId, processId);
    out.closeWrite();
    err.closeWrite();
    status.closeWrite();
    standardOutput.attach(out.releaseRead());
    standardError.attach(err.releaseRead());

    // The status pipe closes on a successful exec and carries errno when exec failed.
    int execError = 0;
    ssize_t count = 0;
    do {
        count = read(status.readEnd, &execError, sizeof execError);
    } while (count < 0 && errno == EINTR);
    if (count == sizeof execError) {
        int waitStatus = 0;
        waitpid(processId, &waitStatus, 0);
        processId = -1;
        throw std::runtime_error("cannot start " + arguments.front() + " in " + folder + ": " +
                                 std::strerror(execError));
    }
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::poll() {
    standardOutput.readAvailable();
    standardError.readAvailable();
    if (!exitStatus && processId > 0) {
        int waitStatus = 0;
        if (waitpid(processId, &waitStatus, WNOHANG) == processId) {
            exitStatus = statusFrom(waitStatus);
            // What it wrote just before ending may still be in the pipes.
            standardOutput.readAvailable();
            standardError.readAvailable();
        }
    }
    return !exitStatus;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (poll()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    return exitStatus;
}

int ChildProcess::stop() {
    if (processId <= 0) {
        return -1;
    }
    // The group is signalled only while its leader is not yet reaped, so that its id
    // cannot have passed to another process group.
    if (poll()) {
        kill(-processId, SIGTERM);
        if (!waitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(stopGrace))) {
            kill(-processId, SIGKILL);
            int waitStatus = 0;
            while (waitpid(processId, &waitStatus, 0) < 0 && errno == EINTR) {
            }
            exitStatus = statusFrom(waitStatus);
            poll();
        }
    }
    return *exitStatus;
}

} // namespace tessera
