#pragma once

#include <string>
#include <vector>

namespace tessera {

struct ToolRun {
    int status = -1; // exit status, or -1 when the tool did not exit normally
    std::string output;
    std::string errors;
    long peakKib = 0; // the most memory it held at once (its maximum resident set)
};

// Runs a program built alongside the tests with the given arguments, capturing its
// standard output and standard error through files in scratchDir.
ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& scratchDir);

// A recording's text with each idle run line ("T idle DT xN every S") written out as
// its N idle steps, one a line: what tests cut at an event need.
std::string oneEventALine(const std::string& recording);

} // namespace tessera
