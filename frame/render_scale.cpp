#include "frame/render_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace tessera {

namespace {

// A frame this much over budget is late: frames paced by the display come a little either
// side of it.
constexpr double lateBeyond = 1.2;
// A step down helps when the frames after it take at most this share of the time before.
constexpr double helpsBelow = 0.95;

} // namespace

RenderScale::RenderScale(double budgetSeconds) : budget(budgetSeconds) {}

RenderScale RenderScale::fixed(double scale) {
    RenderScale fixedOne;
    fixedOne.automatically = false;
    fixedOne.fixedScale = std::clamp(scale, least, 1.0);
    return fixedOne;
}

bool RenderScale::parse(const std::string& text, RenderScale& scale) {
    if (text == "auto") {
        scale = RenderScale();
        return true;
    }
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(number >= least && number <= 1.0)) {
        return false;
    }
    scale = fixed(number);
    return true;
}

double RenderScale::scale() const {
    return automatically ? steps[step] : fixedScale;
}

bool RenderScale::frameTook(double seconds) {
    if (!automatically || !(seconds > 0.0)) {
        return false;
    }
    const std::size_t before = step;
    ++frames;
    windowSeconds += seconds;
    late += seconds > budget * lateBeyond ? 1 : 0;
    if (frames == windowFrames) {
        endWindow();
    }
    return step != before;
}

// Most frames late: a step down, and a try up that did this waits longer next time. Hardly
// any late: one window nearer the next try up, and a try up has held.
void RenderScale::endWindow() {
    const bool comeLate = late * 3 > windowFrames;
    const bool onTime = late * 10 <= windowFrames;
    const double seconds = std::exchange(windowSeconds, 0.0);
    frames = 0;
    late = 0;
    if (lowestWindows > 0 && --lowestWindows == 0) {
        lowestStep = steps.size() - 1;
    }
    if (std::exchange(checkingDown, false)) {
        if (seconds > helpsBelow * secondsBeforeDown) {
            move(step - 1);
            lowestStep = step;
            lowestWindows = downWait;
            downWait = std::min(2 * downWait, longestWait);
            windowsOnTime = 0;
            return;
        }
        downWait = firstWait;
    }
    if (comeLate) {
        if (trying) {
            wait = std::min(2 * wait, longestWait);
        }
        trying = false;
        windowsOnTime = 0;
        if (step < lowestStep) {
            checkingDown = move(step + 1);
            secondsBeforeDown = seconds;
        }
        return;
    }
    if (!onTime) {
        windowsOnTime = 0;
        return;
    }
    if (trying) {
        trying = false;
        wait = firstWait;
    }
    if (++windowsOnTime >= wait && step > 0) {
        windowsOnTime = 0;
        trying = move(step - 1);
    }
}

bool RenderScale::move(std::size_t to) {
    const bool moved = to != step;
    step = to;
    return moved;
}

std::array<int, 4> scaledViewport(const std::array<int, 4>& viewport, double scale) {
    const auto part = [scale](int side) {
        return side > 0 ? std::max(1, static_cast<int>(std::lround(side * scale))) : side;
    };
    return {viewport[0], viewport[1], part(viewport[2]), part(viewport[3])};
}

} // namespace tessera
