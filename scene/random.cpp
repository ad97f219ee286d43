#include "scene/random.h"

#include <cstdint>

namespace tessera {

namespace {

std::uint32_t state = 1;

} // namespace

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
}

void seedRandom(unsigned int seed) {
    state = seed;
}

unsigned int randomState() {
    return state;
}

} // namespace tessera
