#pragma once

#include <getopt.h>
#include <string>
#include <vector>

namespace tessera {

// The programs' command lines, GNU style, over getopt_long: options and operands in any
// order, "--name=value" or "--name value", unambiguous abbreviations, "--" ends the
// options. getopt_long reorders its array and keeps its place in globals, so this works on
// a private copy and starts it afresh; one at a time.
class LongOptions {
public:
    // table ends with an all-zero entry, as getopt_long wants; -h stands for the option
    // whose code is 'h'.
    LongOptions(const char* program, const option* table, int argc, const char* const* argv);

    // The next option's code and its value (empty for a switch). False at the end of the
    // options, or at a fault, which fault() then names in one line.
    bool next(int& code, std::string& value);
    const std::string& fault() const { return error; }

    // "--name" for an option's code.
    std::string nameOf(int code) const;
    // The arguments after the options, in order, once next() has returned false.
    std::vector<std::string> operands() const;

private:
    const option* table;
    std::vector<char*> arguments;
    int count;
    std::string error;
};

// A whole number from 1 to limit in digits only: "+5", "5 " and "05x" fail.
bool parseWholeNumber(const std::string& text, long limit, int& value);
// "WxH" with W and H such whole numbers, as window sizes are given.
bool parseWholeSize(const std::string& text, long limit, int& width, int& height);

} // namespace tessera
