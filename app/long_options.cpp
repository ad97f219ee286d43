#include "app/long_options.h"

#include <cstdlib>

namespace tessera {

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
    code = getopt_long(count, arguments.data(), ":h", table, nullptr);
    if (code == -1) {
        return false;
    }
    const std::string argument = arguments[static_cast<std::size_t>(optind - 1)];
    if (code == ':') {
        error = nameOf(optopt) + " needs a value";
        return false;
    }
    if (code == '?') {
        // optopt names a known option only when it was given a value it does not take.
        error = optopt != 0 && argument.rfind("--", 0) == 0
                    ? nameOf(optopt) + " takes no value"
                    : "unknown option '" + argument.substr(0, argument.find('=')) + "'";
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
