#pragma once

#include "canvas/canvas.h"
#include "frame/render_scale.h"
#include "replay/input_event.h"
#include "replay/replay_header.h"
#include "replay/replay_pace.h"
#include "replay/replay_playback.h"
#include "session/brush_latency.h"
#include "session/input_dispatcher.h"
#include "session/invitation.h"
#include "session/kiosk_keys.h"
#include "session/recorder.h"
#include "session/remote_brushes.h"
#include "session/replay_at_size.h"
#include "session/touch_controls.h"
#include "session/touch_input.h"
#include "session/touch_translator.h"
#include "session/touch_wall.h"
#include "stage/clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessera {

// What follows each idle step of a live show besides the Canvas's own: a gallery's next
// photograph, for one. A show without one keeps its picture.
class PictureTurn {
public:
    virtual ~PictureTurn() = default;
    // After the step; inviting while an invitation plays on the board.
    virtual void follow(Canvas& canvas, bool inviting) = 0;
};

// The running show: the Canvas and everything that happens to it in a session. Every input
// passes the dispatcher (where a recording listens), stamped with the live clock's reading;
// a finger's goes through the touch translator first, and a kiosk's keys through its rules.
// A replay feeds the dispatcher from its file instead and live input is nobody's; an
// invitation may play a recording while the board waits for a visitor. The entry points
// translate their window system's callbacks into these calls and own the loop; what one has
// not (a photo folder, an invitation) is simply not given.
class Show {
public:
    static constexpr unsigned char snapshotKey = 'p';

    Show();
    ~Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    Canvas canvas;

    // Set-up, before begin().
    // The Canvas's rules as a recording notes them: timers, shape cap, drawing path, toolbar.
    void followRules(const ReplayHeader& rules);
    void useKioskKeys(bool kiosk) { kioskKeys = KioskKeys(kiosk); }
    // A finger's presses go through the touch translator, in a kiosk (its keys chosen first)
    // the touch wall; with controls, the keys the kiosk hears are also squares a finger can
    // hit, drawn over the frame.
    void useTouch(double stillPixels, double tapPixels, bool controls);
    void usePictureTurn(std::unique_ptr<PictureTurn> turn) { pictures = std::move(turn); }
    // Records the session from its start into path, for a window of width x height.
    std::string record(const std::string& path, ReplayHeader header, int width, int height);
    // Plays the checked recording at path in a window of width x height instead of live
    // input, at its recorded pace unless fast.
    std::string play(const std::string& path, const ReplayHeader& header, int width, int height,
                     bool fast);
    // Plays the recording at path whenever the board has waited afterSeconds.
    void invite(const std::string& path, const ReplayHeader& header, double afterSeconds);
    // Called for every snapshot key the show hears, live or (with replayedSnapshots) replayed.
    void onSnapshot(std::function<void()> take, bool replayedSnapshots);
    // The share of the window frames are drawn at: fixed or chosen from their times.
    void useRenderScale(const RenderScale& scale);
    // Something laid over the window's every frame after the finger's controls, in a window
    // of the size (the phones' address, say); never in a snapshot.
    void useCorner(std::function<void(Overlay&, int, int)> lay) { corner = std::move(lay); }
    // Where brushes held elsewhere come from: each live step takes what has arrived since the
    // last and hands it on before the idle step.
    void useBrushes(std::function<void(std::vector<BrushEvent>&)> take) {
        takeBrushes = std::move(take);
    }
    const BrushLatency& brushLatency() const { return latency; }
    // The clocks start: the first idle step measures from here.
    void begin();

    // Live input.
    void resize(int width, int height);
    void press(int button, int x, int y, int pointer = 0);
    void release(int button, int x, int y, int pointer = 0);
    void motion(int x, int y, int pointer = 0);
    // A brush held elsewhere: its events reach the Canvas as a pointer of its own.
    void brush(const BrushEvent& event);
    // A pointer id that no other input of the show has had: the mouse is 0.
    int newPointer();
    // Returns what the kiosk's rules make of the key; only Forward and ForwardAndQuit reach
    // the Canvas, and none does while a replay plays.
    KioskKeys::Action key(unsigned char key, int modifiers);
    void touchDown(int finger, int x, int y);
    void touchMoved(int finger, int x, int y);
    void touchUp(int finger, int x, int y);
    bool touching() const { return touch != nullptr && touch->touching(); }

    // The loop. A live step at now: the touches' time, then the invitation's frame or the idle
    // step, then the picture's turn.
    void step(std::int64_t now);
    enum class ReplayStep { Played, Waiting, Ended };
    // Plays the recorded events up to and including the next idle step once it is due (wait
    // says how long until then); Ended once the file is played or turns out damaged.
    ReplayStep replayStep(std::int64_t& wait);
    bool replaying() const { return isReplaying; }
    bool replayOver() const { return isReplayOver; }
    // What was wrong with the recording, "" when it played to its end.
    const std::string& replayError() const { return replayFault; }
    bool recording() const { return isRecording; }

    // The frame, into the current framebuffer; the snapshot's is at the window's full size,
    // without the finger's controls.
    void draw();
    void drawForSnapshot();
    // A frame drawn took seconds: returns whether the scale the next are drawn at changed.
    bool frameTook(double seconds);
    bool frameDrawnSince(std::chrono::steady_clock::time_point start) {
        return frameTook(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    double renderScale() const { return canvas.renderScale; }
    int width() const { return dispatcher.width(); }
    int height() const { return dispatcher.height(); }
    // The live clock's reading, now or at an instant.
    std::int64_t now() { return liveClock.ticks(); }
    std::int64_t ticksAt(std::chrono::steady_clock::time_point instant) const {
        return liveClock.ticksAt(instant);
    }

private:
    void handOver(std::int64_t now);
    void brushAt(const BrushEvent& event, std::int64_t now);
    bool passes(std::int64_t now);
    void deliverKey(unsigned char key, std::int64_t now);

    // The real time events are stamped with, and the clock the Stage reads, held at each
    // event's reading while the Canvas handles it.
    SteadyClock liveClock;
    VirtualClock heldClock;
    InputDispatcher dispatcher;
    Recorder recorder;
    bool isRecording = false;
    KioskKeys kioskKeys{false};
    std::unique_ptr<TouchTranslator> touch;
    int nextPointer = 1;
    RemoteBrushes brushes{canvas, dispatcher, [this] { return newPointer(); }};
    std::function<void(Overlay&, int, int)> corner;
    std::function<void(std::vector<BrushEvent>&)> takeBrushes;
    std::vector<BrushEvent> arrived;
    BrushLatency latency;
    std::unique_ptr<TouchControls> touchControls;
    // A touch that lands on a control is its key's, to the touch's end: the fingers on one.
    std::vector<int> fingersOnControls;
    std::unique_ptr<Invitation> invitation;
    std::unique_ptr<PictureTurn> pictures;
    std::function<void()> snapshot;
    bool replayedSnapshots = false;

    RenderScale scale = RenderScale::fixed(1.0);

    ReplayPlayback playback;
    // A replay plays at the size of its own window, whatever the recorded one's.
    ReplayAtSize replaySize{640, 480, 640, 480};
    ReplayPace replayPace;
    bool isReplaying = false;
    bool fastReplay = false;
    bool isReplayOver = false;
    std::string replayFault;
    // The replay's next event, read but not yet played: a step waits here until it is due.
    InputEvent pendingEvent;
    bool eventPending = false;
};

} // namespace tessera
