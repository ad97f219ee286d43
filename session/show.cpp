#include "session/show.h"

#include "stage/stage.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tessera {

Show::Show() : dispatcher(canvas, heldClock), recorder(canvas) {
    // Everything the Canvas stamps with a time, from the load on, reads the held clock.
    Stage::instance()->setClock(&heldClock);
}

Show::~Show() {
    Stage::instance()->setClock(nullptr);
}

void Show::followRules(const ReplayHeader& rules) {
    canvas.clearAfterSeconds = rules.clearAfterSeconds;
    canvas.idleScatterSeconds = rules.idleScatterSeconds;
    canvas.maxShapes = static_cast<std::size_t>(rules.maxShapes);
    canvas.referenceDrawing = rules.referenceDrawing;
    canvas.leastToolPixels = rules.leastToolPixels;
}

void Show::useTouch(double stillPixels, double tapPixels, bool controls) {
    if (kioskKeys.inKiosk()) {
        touch = std::make_unique<TouchWall>(
            canvas, dispatcher, [this] { return newPointer(); }, stillPixels, tapPixels);
    } else {
        touch = std::make_unique<TouchInput>(canvas, dispatcher, stillPixels, tapPixels);
    }
    if (!controls) {
        return;
    }
    // Only the keys a kiosk hears have a control there.
    std::vector<unsigned char> keys;
    for (const unsigned char key : TouchControls::allKeys()) {
        if (kioskKeys.action(key, 0) == KioskKeys::Forward) {
            keys.push_back(key);
        }
    }
    touchControls = std::make_unique<TouchControls>(std::move(keys));
}

std::string Show::record(const std::string& path, ReplayHeader header, int width, int height) {
    header.width = width;
    header.height = height;
    header.leastToolPixels = canvas.leastToolPixels;
    header.board = {canvas.boardWidth, canvas.boardHeight};
    if (std::string error = recorder.open(path); !error.empty()) {
        return error;
    }
    if (std::string error = recorder.start(header); !error.empty()) {
        return error;
    }
    dispatcher.setListener(&recorder);
    isRecording = true;
    return "";
}

std::string Show::play(const std::string& path, const ReplayHeader& header, int width, int height,
                       bool fast) {
    if (std::string error = playback.open(path); !error.empty()) {
        return error;
    }
    followRules(header);
    replaySize = ReplayAtSize(header.width, header.height, width, height);
    isReplaying = true;
    fastReplay = fast;
    return "";
}

void Show::invite(const std::string& path, const ReplayHeader& header, double afterSeconds) {
    invitation = std::make_unique<Invitation>(canvas, heldClock, dispatcher, path, header.width,
                                              header.height, afterSeconds, liveClock.ticks());
    // A kiosk's rules hold for the invitation's keys as for a visitor's.
    invitation->setKeyFilter([this](unsigned char key) {
        const KioskKeys::Action action = kioskKeys.action(key, 0);
        return action == KioskKeys::Forward || action == KioskKeys::ForwardAndQuit;
    });
}

void Show::onSnapshot(std::function<void()> take, bool replayed) {
    snapshot = std::move(take);
    replayedSnapshots = replayed;
}

void Show::useRenderScale(const RenderScale& chosen) {
    scale = chosen;
    canvas.renderScale = scale.scale();
}

void Show::begin() {
    heldClock.set(liveClock.ticks());
    Stage::instance()->elapsed();
}

// The window's own size changes are not a replay's: its clock stays where the recording has
// it.
void Show::resize(int width, int height) {
    if (isReplaying) {
        replaySize.resize(width, height);
        dispatcher.deliver(InputEvent::reshape(heldClock.ticks(), width, height));
        return;
    }
    if (touchControls != nullptr) {
        touchControls->layOut(width, height, canvas.overlay);
    } else if (corner) {
        canvas.overlay = Overlay();
    }
    if (corner) {
        corner(canvas.overlay, width, height);
    }
    dispatcher.deliver(InputEvent::reshape(liveClock.ticks(), width, height));
}

// A press or key ends an invitation before it acts; other pointer input is nobody's while
// one plays.
void Show::handOver(std::int64_t now) {
    if (invitation != nullptr) {
        invitation->handOver(now);
    }
}

bool Show::passes(std::int64_t now) {
    return invitation == nullptr || invitation->passes(now);
}

void Show::press(int button, int x, int y, int pointer) {
    if (isReplaying) {
        return;
    }
    const std::int64_t now = liveClock.ticks();
    handOver(now);
    dispatcher.deliver(InputEvent::press(now, button, x, y, pointer));
}

void Show::release(int button, int x, int y, int pointer) {
    const std::int64_t now = liveClock.ticks();
    if (!isReplaying && passes(now)) {
        dispatcher.deliver(InputEvent::release(now, button, x, y, pointer));
    }
}

void Show::motion(int x, int y, int pointer) {
    const std::int64_t now = liveClock.ticks();
    if (!isReplaying && passes(now)) {
        dispatcher.deliver(InputEvent::motion(now, x, y, pointer));
    }
}

// A brush's touch hands the board over as a press does; its lift and its going always pass,
// so that no stroke of a phone outlives its touch.
void Show::brush(const BrushEvent& event) {
    brushAt(event, liveClock.ticks());
}

void Show::brushAt(const BrushEvent& event, std::int64_t now) {
    if (isReplaying) {
        return;
    }
    if (event.kind == BrushEvent::Down) {
        handOver(now);
    } else if (event.kind == BrushEvent::Move && !passes(now)) {
        return;
    }
    brushes.handle(event, now);
}

int Show::newPointer() {
    const int pointer = nextPointer;
    nextPointer = nextPointer == maxReplayPointer ? 1 : nextPointer + 1;
    return pointer;
}

// A key the kiosk ignores reaches neither the Canvas nor the recording, so that a recording
// replays the same without knowing of the kiosk.
KioskKeys::Action Show::key(unsigned char key, int modifiers) {
    const KioskKeys::Action action = kioskKeys.action(key, modifiers);
    if (isReplaying || action == KioskKeys::Ignore || action == KioskKeys::EndShow) {
        return action;
    }
    deliverKey(key, liveClock.ticks());
    return action;
}

void Show::deliverKey(unsigned char key, std::int64_t now) {
    handOver(now);
    dispatcher.deliver(InputEvent::keyPress(now, key));
    if (key == snapshotKey && snapshot) {
        snapshot();
    }
}

void Show::touchDown(int finger, int x, int y) {
    if (isReplaying || touch == nullptr) {
        return;
    }
    // A finger id the window system gives again has lifted, even where its lift never came.
    fingersOnControls.erase(std::remove(fingersOnControls.begin(), fingersOnControls.end(), finger),
                            fingersOnControls.end());
    // The controls are hit first: a touch on one is its key, and the touch's lift is its too.
    if (touchControls != nullptr) {
        if (const unsigned char hit = touchControls->keyAt(x, y); hit != 0) {
            fingersOnControls.push_back(finger);
            key(hit, 0);
            return;
        }
    }
    const std::int64_t now = liveClock.ticks();
    handOver(now);
    touch->touchDown(finger, x, y, now);
}

void Show::touchMoved(int finger, int x, int y) {
    const std::int64_t now = liveClock.ticks();
    if (!isReplaying && touch != nullptr && passes(now)) {
        touch->touchMoved(finger, x, y, now);
    }
}

void Show::touchUp(int finger, int x, int y) {
    if (isReplaying || touch == nullptr) {
        return;
    }
    if (const auto onControl =
            std::find(fingersOnControls.begin(), fingersOnControls.end(), finger);
        onControl != fingersOnControls.end()) {
        fingersOnControls.erase(onControl);
        return;
    }
    const std::int64_t now = liveClock.ticks();
    if (passes(now)) {
        touch->touchUp(finger, x, y, now);
    }
}

// The frame is the invitation's when it plays one; an invitation's clears are undone with
// it, so the picture's turn does not count them.
void Show::step(std::int64_t now) {
    if (touch != nullptr) {
        touch->tick(now);
    }
    if (takeBrushes) {
        arrived.clear();
        takeBrushes(arrived);
        // Stamped with the step's reading, which the idle step after them carries too.
        for (const BrushEvent& event : arrived) {
            brushAt(event, now);
            latency.delivered(event.received);
        }
    }
    if (invitation == nullptr || !invitation->frame(now)) {
        dispatcher.deliverIdle(now);
    }
    if (pictures != nullptr) {
        pictures->follow(canvas, invitation != nullptr && invitation->playing());
    }
}

Show::ReplayStep Show::replayStep(std::int64_t& wait) {
    wait = 0;
    if (isReplayOver) {
        return ReplayStep::Ended;
    }
    while (eventPending || playback.next(pendingEvent, replayFault)) {
        eventPending = true;
        if (pendingEvent.kind == InputEvent::Idle && !fastReplay) {
            wait = replayPace.waitFor(pendingEvent.ticks, liveClock.ticks());
            if (wait > 0) {
                return ReplayStep::Waiting;
            }
        }
        eventPending = false;
        dispatcher.deliver(replaySize.map(pendingEvent, canvas));
        if (replayedSnapshots && snapshot && pendingEvent.kind == InputEvent::Key &&
            pendingEvent.key == snapshotKey) {
            snapshot();
        }
        if (pendingEvent.kind == InputEvent::Idle) {
            return ReplayStep::Played;
        }
    }
    isReplayOver = true;
    return ReplayStep::Ended;
}

void Show::draw() {
    canvas.showFrame(dispatcher.width(), dispatcher.height());
}

// The controls for a finger are the window's, not the picture's.
void Show::drawForSnapshot() {
    Overlay controls;
    std::swap(controls, canvas.overlay);
    const double drawnAt = std::exchange(canvas.renderScale, 1.0);
    draw();
    canvas.renderScale = drawnAt;
    std::swap(controls, canvas.overlay);
}

bool Show::frameTook(double seconds) {
    latency.frameShown(std::chrono::steady_clock::now());
    if (!scale.frameTook(seconds)) {
        return false;
    }
    canvas.renderScale = scale.scale();
    return true;
}

} // namespace tessera
