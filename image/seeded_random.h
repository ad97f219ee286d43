#pragma once

#include <cstddef>
#include <cstdint>

namespace tessera {

// SplitMix64: a tiny generator whose sequence depends only on the seed, so that the same
// photograph always gives the same picture set, whatever the platform's rand() does.
class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), with the 53 bits a double holds.
    double nextUnit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    // Uniform in [0, count); count must be positive.
    std::size_t nextIndex(std::size_t count) { return static_cast<std::size_t>(next() % count); }

private:
    std::uint64_t state;
};

} // namespace tessera
