#pragma once

#include <array>
#include <cstdint>

namespace tessera {

// A tiny built-in font of 5 x 7 blocks for the few characters a network address needs:
// digits, lower-case letters, '.', ':', '/', '-', '[' and ']'. Upper-case letters come out
// lower-case (host names ignore case); any other character is an empty box, so a reader sees
// something stands there.
constexpr int glyphColumns = 5;
constexpr int glyphRows = 7;

// The glyph's rows from the top; bit 4 of each is its leftmost column.
using Glyph = std::array<std::uint8_t, glyphRows>;
const Glyph& blockGlyph(char c);

} // namespace tessera
