#pragma once

#include "replay/idle_run.h"
#include "replay/recorded_size.h"
#include "replay/replay_header.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"

#include <cstdio>
#include <string>

namespace tessera {

// Writes a session's replay file while it runs: the header, then one line per event the
// dispatcher delivered, each flushed at once, so that a crash or a kill loses at most the
// event under way. A run of like idle steps is one line, written anew over itself, longer
// by its count, as each step joins it. A write that fails stops the recording (with one message on
// standard error), never the session. A window larger than a recording holds is recorded at the
// largest size of its shape that fits, each pointer position where it shows the same board
// point; the first time, a line on standard error says so.
class Recorder : public InputListener {
public:
    // The Canvas the dispatcher drives: its camera takes the pointer into the recorded size.
    explicit Recorder(const Canvas& canvas);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates the file, which must not exist: a recording never replaces a file. Returns an
    // empty string or "PATH: what is wrong".
    std::string open(const std::string& path);
    // Writes the header, with the live window's size; returns an empty string or why it
    // cannot be written (the file made by open is removed then).
    std::string start(ReplayHeader header);

    void delivered(const InputEvent& event) override;

private:
    bool write(const std::string& text);
    void writeAt(long offset, const std::string& text);
    // After a failed write: says so once and closes the file.
    void stop();
    // The live window is now of the size; gives the size recorded.
    RecordedSize windowIs(int width, int height);

    const Canvas& canvas;
    // The live window in the part of the recorded one, the recording in that of the window
    // played in.
    ReplayAtSize size{0, 0, 0, 0};
    bool scaleTold = false;
    IdleRun run;
    // Where the idle run's line starts in the file.
    long runStart = 0;
    std::FILE* file = nullptr;
    std::string path;
};

} // namespace tessera
