#pragma once

#include <string>
#include <vector>

namespace tessera {

// The reading end of a pipe that a child process writes to. Reads never block, so the
// test can poll several pipes and its own deadlines from one thread.
class CapturedOutput {
public:
    CapturedOutput() = default;
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Takes over the reading end of a pipe.
    void attach(int pipeEnd);

    // Takes in whatever the writer has sent so far; closes the pipe at end of file.
    void readAvailable();

    const std::string& text() const { return received; }
    // The lines finished so far, without their newlines.
    std::vector<std::string> lines() const;

private:
    int fd = -1;
    std::string received;
};

} // namespace tessera
