#include "photo/printable_name.h"

namespace tessera {

std::string printableName(const std::string& name) {
    static const char hex[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            printable += "\\\\";
            continue;
        case '\n':
            printable += "\\n";
            continue;
        case '\t':
            printable += "\\t";
            continue;
        case '\r':
            printable += "\\r";
            continue;
        default:
            break;
        }
        if (byte < 0x20 || byte == 0x7f) {
            printable += {'\\', 'x', hex[byte >> 4], hex[byte & 0xf]};
        } else {
            printable += c;
        }
    }
    return printable;
}

} // namespace tessera
