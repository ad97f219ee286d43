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
      afterTicks(static_cast<std::int64_t>(afterSeconds * 1e9 + 0.5)), quietSince(now) {}

bool Invitation::frame(std::int64_t now) {
    if (!isPlaying) {
        if (!canvas.shapes.empty()) {
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
    pace = ReplayPace();
    size = ReplayAtSize(recordedWidth, recordedHeight, live.width(), live.height());
    shifted = false;
    eventPending = false;
    isPlaying = true;
    return true;
}

// Plays every event that is due by now: each idle step once as much real time has passed
// since the start as had passed in the recording.
void Invitation::play(std::int64_t now) {
    std::string error;
    while (eventPending || playback.next(pending, error)) {
        eventPending = true;
        if (!shifted) {
            shift = now - pending.ticks;
            shifted = true;
        }
        if (pending.kind == InputEvent::Idle && pace.waitFor(pending.ticks, now) > 0) {
            return;
        }
        eventPending = false;
        size.resize(live.width(), live.height());
        InputEvent event = size.map(pending, canvas);
        event.ticks += shift;
        own.deliver(event);
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
