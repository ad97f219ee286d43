#include "scene/random.h"

#include <cstdint>

namespace tessera {

namespace {

std::uint32_t randomState = 1;

} // namespace

int rand() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 32767u);
}

void seedRandom(unsigned int state) {
    randomState = state;
}

} // namespace tessera
