#include "photo/printable_name.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(PrintableName, EscapesWhatCouldForgeOrBreakALineAndKeepsTheRest) {
    const struct {
        const char* name;
        std::string raw;
        std::string printed;
    } rows[] = {
        {"plain and UTF-8", "Été à Paris.jpg", "Été à Paris.jpg"},
        {"a forged line", "a.png\ntessera: b.png", "a.png\\ntessera: b.png"},
        {"tab and return", "a\tb\r.png", "a\\tb\\r.png"},
        {"other control bytes and DEL", std::string("a\x01\x1b[31m\x7f", 8) + std::string(1, '\0'),
         "a\\x01\\x1b[31m\\x7f\\x00"},
        {"a backslash, so that an escape cannot be forged", "a\\n.png", "a\\\\n.png"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(printableName(row.raw), row.printed);
    }
}

} // namespace
} // namespace tessera
