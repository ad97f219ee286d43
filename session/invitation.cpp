#include "session/invitation.h"

#include "canvas/canvas.h"
#include "stage/clock.h"
#include "stage/stage.h"

#include <cstdio>
#include <utility>

namespace tessera {

Invitation::Invitation(Canvas& canvas, VirtualClock& heldClock, const InputDispatcher& live,
                       std::string path, int recordedWidth, int recordedHeight, double afterSeconds,
                       std::int64_t now)
    : canvas(canvas), clock(heldClock), live(live), own(canvas, heldClock), path(std::move(path)),
      recordedWidth(recordedWidth), recordedHeight(recordedHeight),
      afterTicks(static_cast<std::int64_t>(afterSeconds * 1e9 + 0.5)), quietSince(now) {
    own.setQuiet(true);
}

bool Invitation::frame(std::int64_t now) {
    if (!isPlaying) {
        // A button held down is somebody there, even over an empty board.
        if (!canvas.shapes.empty() || canvas.buttonHeld()) {
            quietSince = now;
        }
        if (broken || now - quietSince < afterTicks || !start()) {
            return false;
        }
    }
    play(now);
    return true;
}

bool Invitation::passes(std::int64_t now) {
    if (isPlaying) {
        return false;
    }
    quietSince = now;
    return true;
}

void Invitation::handOver(std::int64_t now) {
    if (isPlaying) {
        finish(now);
    }
    quietSince = now;
}

bool Invitation::start() {
    if (std::string error = playback.open(path); !error.empty()) {
        std::fprintf(stderr, "tessera: no invitation: %s\n", error.c_str());
        broken = true;
        return false;
    }
    before = canvas.bare();
    // Its presses hit the toolbar it was recorded with; the visitor's comes back with the rest.
    canvas.leastToolPixels = playback.header().leastToolPixels;
    pace = ReplayPace();
    size = ReplayAtSize(recordedWidth, recordedHeight, live.width(), live.height());
    size.setRecordedBoard(playback.header().board);
    shifted = false;
    eventPending = false;
    isPlaying = true;
    return true;
}

// Plays the events that are due by now, each once as much real time has passed since the
// start as had passed in the recording, up to and including one idle step, as a replay does:
// a run of steps due at once comes a frame a step. Then at most maxEventsPerFrame events a
// frame, whatever the file holds between its steps. No event comes before its time, so the
// Canvas's clock never runs ahead of the live one and never goes back when the visitor comes.
void Invitation::play(std::int64_t now) {
    std::string error;
    int played = 0;
    while (eventPending || playback.next(pending, error)) {
        eventPending = true;
        if (!shifted) {
            shift = now - pending.ticks;
            shifted = true;
        }
        if (played == maxEventsPerFrame || pace.waitFor(pending.ticks, now) > 0) {
            return;
        }
        eventPending = false;
        ++played;
        if (pending.kind == InputEvent::Key && !hears(static_cast<unsigned char>(pending.key))) {
            continue;
        }
        size.resize(live.width(), live.height());
        InputEvent event = size.map(pending, canvas);
        event.ticks += shift;
        own.deliver(event);
        if (pending.kind == InputEvent::Idle) {
            return;
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "tessera: the invitation stopped: %s\n", error.c_str());
        broken = true;
    }
    finish(now);
}

void Invitation::finish(std::int64_t now) {
    canvas.returnTo(before);
    isPlaying = false;
    quietSince = now;
    // The next live idle step measures from now, not from the last one before the
    // invitation.
    clock.set(now);
    Stage::instance()->elapsed();
}

} // namespace tessera
