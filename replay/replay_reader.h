#pragma once

#include "replay/input_event.h"
#include "replay/replay_header.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tessera {

// Reads a replay file from a stream, line by line: the header first, then one event at a
// time, holding no more than one line (a run of idle steps is given a step at a time). Every fault
// is one line, "NAME:LINE: what is wrong". The events may stop after any whole line (a recording
// cut short by a crash); a last line without its line feed was cut while being written and is
// passed over.
class ReplayReader {
public:
    // name is what the messages call the stream. The stream is not owned.
    ReplayReader(std::FILE* in, std::string name);

    // Returns an empty string with the header filled, or the fault.
    std::string readHeader(ReplayHeader& header);
    // The next event: true with it in event; false at the end of the file with error
    // empty, or at a fault with error set.
    bool next(InputEvent& event, std::string& error);
    // Passes over the steps of the idle run the last event began, as if each had been given:
    // a check takes a run whole.
    void skipRun();

private:
    enum class Line { Whole, Cut, End, TooLong, Failed };
    static constexpr std::size_t maxFields = 12;

    Line readLine();
    // Splits the line at single spaces; false when a field is empty or there are too many.
    bool split();
    std::string fault(const std::string& what) const;
    std::string expect(const char* keyword, const char* form);
    std::string readWindow(ReplayHeader& header);
    std::string readPicture(ReplayHeader& header);
    std::string readPhoto(ReplayHeader& header);
    std::string readBoard(ReplayHeader& header);
    std::string readCanvas(ReplayHeader& header);
    std::string readChecksum(ReplayHeader& header);
    std::string readEvent(InputEvent& event);
    std::string readIdleRun(InputEvent& event);

    std::FILE* in;
    std::string name;
    std::string line;
    long lineNumber = 0;
    std::array<std::string_view, maxFields> fields;
    std::size_t fieldCount = 0;
    std::int64_t lastTicks = 0;
    int version = 0;
    // The steps of an idle run line still to give, the next of them first.
    std::int64_t runLeft = 0;
    std::int64_t runStep = 0;
    InputEvent runNext;
};

// Opens a replay file for reading: nullptr with error set ("PATH: cannot open ..." or "PATH: not
// a regular file ...") when it cannot be read, or is a pipe or a device, which could not be read
// a second time.
std::FILE* openReplayFile(const std::string& path, std::string& error);

// Reads a whole replay file once, to find any fault before anything is played. Returns an
// empty string with the header filled, or the first fault ("PATH: cannot open ..." when
// the file cannot be read at all).
std::string checkReplayFile(const std::string& path, ReplayHeader& header);

} // namespace tessera
