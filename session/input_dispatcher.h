#pragma once

#include "replay/input_event.h"

#include <cstdint>

namespace tessera {

class Canvas;
class VirtualClock;

// Told of every event after the Canvas has handled it: the recorder.
class InputListener {
public:
    virtual ~InputListener() = default;
    virtual void delivered(const InputEvent& event) = 0;
};

// The one place that hands window-system events to the Canvas, live or replayed. While
// the Canvas handles an event the Stage reads a clock held at the event's reading, so
// that every time stamp taken inside (press times, shapes' birth) is the recorded one.
class InputDispatcher {
public:
    // The held clock must be the Stage's clock for as long as events are delivered.
    InputDispatcher(Canvas& canvas, VirtualClock& heldClock);

    void setListener(InputListener* listener) { this->listener = listener; }
    // Events delivered through a quiet dispatcher print nothing: they are nobody's.
    void setQuiet(bool quiet) { this->quiet = quiet; }

    void deliver(const InputEvent& event);
    // A live idle step at the given reading: its dt is the Stage's step to it.
    void deliverIdle(std::int64_t ticks);

    // The window size of the last reshape (0 x 0 before the first).
    int width() const { return windowWidth; }
    int height() const { return windowHeight; }

private:
    Canvas& canvas;
    VirtualClock& clock;
    InputListener* listener = nullptr;
    bool quiet = false;
    int windowWidth = 0;
    int windowHeight = 0;
};

} // namespace tessera
