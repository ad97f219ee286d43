#pragma once

#include "captured_output.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tessera {

// A program started by the test, in its own process group, with its standard output
// and standard error captured. Destruction ends it (and anything it started) and reaps
// it, whatever state the test left it in.
class ChildProcess {
public:
    // Starts arguments[0] (a path) in folder with the test's environment plus setEnvironment
    // entries ("NAME=value", replacing the same names). Throws std::runtime_error when
    // the program cannot be started.
    ChildProcess(const std::vector<std::string>& arguments, const std::string& folder,
                 const std::vector<std::string>& setEnvironment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return processId; }

    // Reads what both pipes hold and notices an exit; true while the process runs.
    bool poll();

    // Waits for the process to end, reading its output meanwhile. Gives its exit status,
    // 128 + the signal number when a signal ended it, or nothing when it still runs at
    // the deadline.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    // Ends the process group: SIGTERM, then SIGKILL if it is still there after a grace
    // period. Gives the exit status as waitForExit does.
    int stop();

    const CapturedOutput& output() const { return standardOutput; }
    const CapturedOutput& errors() const { return standardError; }

private:
    pid_t processId = -1;
    std::optional<int> exitStatus;
    CapturedOutput standardOutput;
    CapturedOutput standardError;
};

} // namespace tessera
