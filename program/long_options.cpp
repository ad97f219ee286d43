#include "program/long_options.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace tessera {
namespace {

// ':' first: a missing value is reported as ':', not '?'. Then the one short option.
constexpr const char* shortOptions = ":h";
constexpr const char* shortLetters = shortOptions + 1;

} // namespace

LongOptions::LongOptions(const char* program, const option* table, int argc,
                         const char* const* argv)
    : table(table), count(argc + 1) {
    arguments.push_back(const_cast<char*>(program));
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(const_cast<char*>(argv[i]));
    }
    arguments.push_back(nullptr);
    opterr = 0;
    optind = 0;
}

bool LongOptions::next(int& code, std::string& value) {
    code = getopt_long(count, arguments.data(), shortOptions, table, nullptr);
    if (code == -1) {
        return false;
    }
    const std::string argument = arguments[static_cast<std::size_t>(optind - 1)];
    if (code == ':') {
        error = nameOf(optopt) + " needs a value";
        return false;
    }
    if (code == '?') {
        // optopt is 0 for an unknown long option, the code of a known one given a value it
        // does not take, and otherwise the unknown letter itself. In a group such as -xyz
        // getopt has not moved past the group yet, so the argument is not the one at fault.
        if (optopt == 0) {
            error = "unknown option '" + argument.substr(0, argument.find('=')) + "'";
        } else if (std::strchr(shortLetters, optopt) != nullptr || optopt > UCHAR_MAX) {
            error = nameOf(optopt) + " takes no value";
        } else {
            error = "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
        }
        return false;
    }
    value = optarg != nullptr ? optarg : "";
    return true;
}

std::string LongOptions::nameOf(int code) const {
    for (const option* o = table; o->name != nullptr; ++o) {
        if (o->val == code) {
            return std::string("--") + o->name;
        }
    }
    return "-" + std::string(1, static_cast<char>(code));
}

std::vector<std::string> LongOptions::operands() const {
    return std::vector<std::string>(arguments.begin() + optind, arguments.begin() + count);
}

bool parseWholeNumber(const std::string& text, long limit, int& value) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const long number = std::strtol(text.c_str(), nullptr, 10);
    if (number < 1 || number > limit) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool parseWholeSize(const std::string& text, long limit, int& width, int& height) {
    const std::size_t cross = text.find('x');
    int w = 0;
    int h = 0;
    if (cross == std::string::npos || !parseWholeNumber(text.substr(0, cross), limit, w) ||
        !parseWholeNumber(text.substr(cross + 1), limit, h)) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

} // namespace tessera
