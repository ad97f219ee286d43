#pragma once

#include "canvas/bare_canvas.h"
#include "replay/replay_pace.h"
#include "replay/replay_playback.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace tessera {

// A recorded session played over the picture shown, to invite a visitor, once the board
// has been empty and untouched for a while. Its pointer positions go to the pixels that
// show the same board points, and its idle steps come at their recorded pace. Its events
// reach the Canvas through a dispatcher of its own that tells no listener and prints
// nothing, so neither a recording of the session nor its output holds any of them. The
// first press, touch or key hands the board over: every shape, stroke and gesture of the
// invitation goes, the camera, tool, toolbar, lights, random sequence and count of clears are put
// back as they were, and the press then acts as any other. A recording that ends with
// nobody there is undone the same way and plays again once the board has been left alone
// as long once more.
class Invitation {
public:
    // The recording is one checked already; recordedWidth x recordedHeight is its header's
    // window. live delivers the real input: the invitation plays in its window. The board
    // counts as untouched from the real clock's reading now.
    Invitation(Canvas& canvas, VirtualClock& heldClock, const InputDispatcher& live,
               std::string path, int recordedWidth, int recordedHeight, double afterSeconds,
               std::int64_t now);

    // A live frame at the real clock's reading now. True when the frame is the
    // invitation's: its idle steps are then the recording's, and the caller delivers none.
    bool frame(std::int64_t now);
    // Live pointer motion or a release at now. False while the invitation plays: the event
    // is then nobody's.
    bool passes(std::int64_t now);
    // A press, a touch or a key at now, which the caller then delivers as usual.
    void handOver(std::int64_t now);

    bool playing() const { return isPlaying; }

    // The recorded keys that reach the Canvas (a kiosk's rules); all of them without one.
    using KeyFilter = std::function<bool(unsigned char)>;
    void setKeyFilter(KeyFilter filter) { hears = std::move(filter); }

    // A recording holds any number of events between two idle steps: a frame plays this
    // many at most, the rest in the frames after.
    static constexpr int maxEventsPerFrame = 64;

private:
    bool start();
    void play(std::int64_t now);
    // Everything of the invitation undone; the board counts as untouched from now.
    void finish(std::int64_t now);

    Canvas& canvas;
    VirtualClock& clock;
    const InputDispatcher& live;
    InputDispatcher own;
    std::string path;
    int recordedWidth;
    int recordedHeight;
    std::int64_t afterTicks;
    std::int64_t quietSince;
    bool isPlaying = false;
    // A recording that cannot be played any more is said once and not tried again.
    bool broken = false;
    BareCanvas before;
    ReplayPlayback playback;
    ReplayPace pace;
    ReplayAtSize size{0, 0, 0, 0};
    // Recorded readings become live ones by this much.
    std::int64_t shift = 0;
    bool shifted = false;
    InputEvent pending;
    bool eventPending = false;
    KeyFilter hears = [](unsigned char) { return true; };
};

} // namespace tessera
