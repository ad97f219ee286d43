#pragma once

#include "replay/input_event.h"
#include "replay/replay_reader.h"

#include <cstdio>
#include <memory>
#include <string>

namespace tessera {

// A checked replay file played from its start, one event at a time.
class ReplayPlayback {
public:
    ReplayPlayback() = default;
    ~ReplayPlayback();
    ReplayPlayback(const ReplayPlayback&) = delete;
    ReplayPlayback& operator=(const ReplayPlayback&) = delete;

    // Opens the file and reads past its header. Returns an empty string or the fault.
    std::string open(const std::string& path);
    // The next event: false at the end, with error set if the file has changed since it
    // was checked and is now at fault.
    bool next(InputEvent& event, std::string& error);
    bool ended() const { return reader == nullptr; }
    // The header of the file last opened.
    const ReplayHeader& header() const { return opened; }

private:
    void close();

    std::FILE* file = nullptr;
    std::unique_ptr<ReplayReader> reader;
    ReplayHeader opened;
};

} // namespace tessera
