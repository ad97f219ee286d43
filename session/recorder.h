#pragma once

#include "session/input_dispatcher.h"
#include "session/replay_header.h"

#include <cstdio>
#include <string>

namespace tessera {

// Writes a session's replay file while it runs: the header, then one line per event the
// dispatcher delivered, each flushed at once, so that a crash or a kill loses at most the
// event under way. A write that fails stops the recording (with one message on standard
// error), never the session.
class Recorder : public InputListener {
public:
    Recorder() = default;
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates the file, which must not exist: a recording never replaces a file. Returns an
    // empty string or "PATH: what is wrong".
    std::string open(const std::string& path);
    // Writes the header; returns an empty string or why it cannot be written (the file
    // made by open is removed then).
    std::string start(const ReplayHeader& header);

    void delivered(const InputEvent& event) override;

private:
    bool write(const std::string& text);

    std::FILE* file = nullptr;
    std::string path;
};

} // namespace tessera
