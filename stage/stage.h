#pragma once

#include <cstdint>
#include <vector>

namespace tessera {

class Clock;
class Texture;

// What is not specific to one picture: the clock, light 0 and the global ambient light,
// two switches read by the renderer, and the registry of textures made so far. There is
// one, made on first use and never destroyed.
class Stage {
public:
    static Stage* instance();

    // Seconds since the previous call (the first result is meaningless).
    double elapsed();
    // Seconds on the clock's own scale; only differences mean anything.
    double now();

    // Replaces the time source (tests and replays drive virtual time); null restores the
    // real clock. The clock is not owned. The next elapsed() measures from this call.
    void setClock(Clock* clock);

    void registerTexture(Texture* texture);
    // Takes a texture out of the registry before its owner deletes it.
    void unregisterTexture(Texture* texture);

    int light0Enabled = 1;
    int colourMaterialEnabled = 1;
    std::vector<Texture*> textures;
    int textureCount = 0;
    float lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float light0Ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float light0Diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float light0Specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float light0Position[4] = {320.0f, 240.0f, 200.0f, 1.0f};
    std::int64_t ticksPerSecond = 0;
    double secondsPerTick = 0.0;
    std::int64_t lastTicks = 0;

private:
    Stage();
    Clock* clock;
};

} // namespace tessera
