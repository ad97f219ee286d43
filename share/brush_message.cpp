#include "share/brush_message.h"

#include <vector>

namespace tessera {
namespace {

constexpr std::size_t maxNumberCharacters = 9;

// A phone's bytes as they may appear in a reason: printable ASCII, cut short.
std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 12;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
        const char c = text[i];
        out += c >= ' ' && c <= '~' ? c : '?';
    }
    return out + (text.size() > shown ? "...\"" : "\"");
}

std::vector<std::string_view> splitAtSpaces(std::string_view message) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t space = message.find(' '); space != std::string_view::npos;
         space = message.find(' ', start)) {
        words.push_back(message.substr(start, space - start));
        start = space + 1;
    }
    words.push_back(message.substr(start));
    return words;
}

// A share of the board: digits with at most one point. Read by hand, not by strtod, which
// takes signs, exponents, "nan" and the locale's decimal separator.
std::string readShare(std::string_view name, std::string_view text, float& share) {
    if (text.size() > maxNumberCharacters) {
        return std::string(name) + " " + quoted(text) + " is longer than 9 characters";
    }
    double whole = 0.0;
    double fraction = 0.0;
    double scale = 1.0;
    bool point = false;
    bool digit = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
            if (point) {
                scale /= 10.0;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10.0 + (c - '0');
            }
        } else {
            return std::string(name) + " " + quoted(text) + " is not a number such as 0.25";
        }
    }
    if (!digit) {
        return std::string(name) + " " + quoted(text) + " is not a number such as 0.25";
    }
    const double value = whole + fraction;
    if (value > 1.0) {
        return std::string(name) + " " + std::string(text) + " is off the board (0 to 1)";
    }
    share = static_cast<float>(value);
    return "";
}

} // namespace

std::string readBrushMessage(std::string_view message, BrushEvent& event) {
    if (message.empty()) {
        return "empty message";
    }
    if (message.size() > maxBrushMessageBytes) {
        return "message is longer than 64 bytes";
    }
    const std::vector<std::string_view> words = splitAtSpaces(message);
    for (const std::string_view word : words) {
        if (word.empty()) {
            return "words must be separated by single spaces";
        }
    }
    const std::string_view kind = words[0];
    if (kind == "tool") {
        if (words.size() != 2) {
            return words.size() < 2 ? "\"tool\" needs a tool number" : "\"tool\" takes one number";
        }
        const std::string_view tool = words[1];
        if (tool.size() != 1 || tool[0] < '0' || tool[0] > '0' + BrushEvent::selectTool) {
            return "tool " + quoted(tool) + " is not a tool from 0 to 4";
        }
        event.kind = BrushEvent::Tool;
        event.tool = tool[0] - '0';
        return "";
    }
    BrushEvent::Kind parsed = BrushEvent::Down;
    if (kind == "down") {
        parsed = BrushEvent::Down;
    } else if (kind == "move") {
        parsed = BrushEvent::Move;
    } else if (kind == "up") {
        parsed = BrushEvent::Up;
    } else {
        return "unknown message " + quoted(kind);
    }
    if (words.size() != 3) {
        return quoted(kind) + (words.size() < 3 ? " needs U and V" : " takes only U and V");
    }
    float u = 0.0f;
    float v = 0.0f;
    if (std::string error = readShare("U", words[1], u); !error.empty()) {
        return error;
    }
    if (std::string error = readShare("V", words[2], v); !error.empty()) {
        return error;
    }
    event.kind = parsed;
    event.u = u;
    event.v = v;
    return "";
}

} // namespace tessera
