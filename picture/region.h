#pragma once

#include <cstdint>

namespace tessera {

// The colour a region of the picture gives to shapes painted over it.
struct Region {
    std::uint8_t number = 0; // kept from the map file, never read
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

} // namespace tessera
