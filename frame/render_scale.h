#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace tessera {

// The share of the window's width and height a frame is drawn at, the picture then stretched
// over the whole window: filling fewer pixels is what a machine without a graphics processor
// needs most. Fixed, or chosen automatically from how long the frames take against their
// budget: one of a few steps, down when most frames of a window of them come late, up again
// after a run of windows on time. A step up that comes late at once goes back down, and the
// next try up waits twice as long, so that a load that only fits a step settles there. A step
// down that does not make the frames faster (their cost is not the pixels: a compositor that
// stretches the picture anyway, a copy dearer than what it saves) is taken back, and the next
// step below waits twice as long too.
class RenderScale {
public:
    static constexpr double least = 0.5;
    static constexpr std::array<double, 5> steps = {1.0, 0.85, 0.7, 0.6, 0.5};
    // Frames judged together, and the windows on time before the first try up.
    static constexpr int windowFrames = 30;
    static constexpr int firstWait = 4;
    static constexpr int longestWait = 128;

    // Automatic, against a budget of seconds a frame.
    explicit RenderScale(double budgetSeconds = 1.0 / 60.0);
    // Always scale, held to least..1.
    static RenderScale fixed(double scale);
    // "auto", or a number from 0.5 to 1; false, leaving scale as it was, for anything else.
    static bool parse(const std::string& text, RenderScale& scale);

    bool automatic() const { return automatically; }
    double scale() const;
    // One frame drawn took seconds (a fixed scale ignores it, and none is judged from 0).
    // Returns whether the scale to draw at changed.
    bool frameTook(double seconds);

private:
    void endWindow();
    bool move(std::size_t step);

    bool automatically = true;
    double fixedScale = 1.0;
    double budget;
    std::size_t step = 0;
    int frames = 0;
    int late = 0;
    int windowsOnTime = 0;
    int wait = firstWait;
    // The last move was up and no window since has shown whether it holds.
    bool trying = false;
    // The seconds the frames of this window took, and of the window that last stepped down,
    // whose next window shows whether the step helped.
    double windowSeconds = 0.0;
    double secondsBeforeDown = 0.0;
    bool checkingDown = false;
    // No step below lowestStep for lowestWindows windows more; the wait after a step down
    // that did not help.
    std::size_t lowestStep = steps.size() - 1;
    int lowestWindows = 0;
    int downWait = firstWait;
};

// The part of a viewport (x, y, width, height) a frame at scale is drawn in: from the same
// corner, width and height scaled and rounded, at least a pixel where the
// viewport has one.
std::array<int, 4> scaledViewport(const std::array<int, 4>& viewport, double scale);

} // namespace tessera
