#include "stage/stage.h"

#include "stage/clock.h"

#include <algorithm>

namespace tessera {

namespace {

SteadyClock realClock;

} // namespace

Stage* Stage::instance() {
    static Stage* stage = new Stage;
    return stage;
}

Stage::Stage() : clock(&realClock) {
    setClock(nullptr);
    textures.reserve(64);
}

void Stage::setClock(Clock* newClock) {
    clock = newClock != nullptr ? newClock : &realClock;
    ticksPerSecond = clock->ticksPerSecond();
    secondsPerTick = 1.0 / static_cast<double>(ticksPerSecond);
    lastTicks = clock->ticks();
}

double Stage::elapsed() {
    const std::int64_t ticks = clock->ticks();
    const std::int64_t delta = ticks - lastTicks;
    lastTicks = ticks;
    return static_cast<double>(delta) * secondsPerTick;
}

double Stage::now() {
    return static_cast<double>(clock->ticks()) * secondsPerTick;
}

void Stage::registerTexture(Texture* texture) {
    textures.push_back(texture);
    ++textureCount;
}

void Stage::unregisterTexture(Texture* texture) {
    textures.erase(std::remove(textures.begin(), textures.end(), texture), textures.end());
}

} // namespace tessera
