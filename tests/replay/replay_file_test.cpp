#include "canvas/canvas.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "session/recorder.h"
#include "support/byte_stream.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tessera {
namespace {

const std::string defaultHeader =
    "tessera-replay 5\n"
    "window 640 480\n"
    "picture default\n"
    "board 640 480\n"
    "canvas clear-after 0 max-shapes 0 reference-drawing 0 idle-scatter 27 tool-pixels 0\n"
    "checksum 00000000000000ff\n"
    "events\n";
// What the program wrote before the finger's toolbar and the grow event.
const std::string version3Header =
    "tessera-replay 3\n"
    "window 640 480\n"
    "picture default\n"
    "canvas clear-after 0 max-shapes 0 reference-drawing 0 idle-scatter 27\n"
    "checksum 00000000000000ff\n"
    "events\n";
// What the program wrote before idle runs: still played as it was.
const std::string version2Header = "tessera-replay 2\n"
                                   "window 640 480\n"
                                   "picture default\n"
                                   "canvas clear-after 0 max-shapes 0 reference-drawing 0\n"
                                   "checksum 00000000000000ff\n"
                                   "events\n";

// Reads the header and every event; gives the events read and the fault, if any.
std::string readAll(const std::string& text, ReplayHeader& header,
                    std::vector<InputEvent>& events) {
    test::ByteStream in(text);
    ReplayReader reader(in.get(), "demo");
    std::string error = reader.readHeader(header);
    InputEvent event;
    while (error.empty() && reader.next(event, error)) {
        events.push_back(event);
    }
    return error;
}

std::string faultOf(const std::string& text) {
    ReplayHeader header;
    std::vector<InputEvent> events;
    return readAll(text, header, events);
}

TEST(ReplayFile, WhatIsWrittenReadsBackTheSame) {
    ReplayHeader header;
    // The largest window side and time are read back; one more is refused (below).
    header.width = maxReplayWindowSide;
    header.height = 600;
    header.picture = ReplayHeader::Photograph;
    header.picturePath = "my photos/cat 1.jpg";
    header.photo.regions = 7;
    header.photo.cellsAcross = 32;
    header.photo.cellsDown = 24;
    header.photo.fit = Fit::pad;
    header.photo.maxWidth = 300;
    header.photo.maxHeight = 200;
    header.clearAfterSeconds = 0.1;
    header.maxShapes = 50;
    header.referenceDrawing = true;
    header.idleScatterSeconds = 0.0;
    header.leastToolPixels = 126.0000001;
    header.checksum = 0xfedcba9876543210u;
    const std::vector<InputEvent> events = {
        InputEvent::reshape(0, 800, maxReplayWindowSide),
        InputEvent::idle(16666667, 1.0f / 60.0f),
        InputEvent::idle(16666667, 3.0e-7f),
        InputEvent::press(20000000, 2, -5, 1000000),
        InputEvent::grow(20000000, 3.14159274f),
        InputEvent::grow(20000000, 1.0e6f),
        InputEvent::motion(20000001, 640, 480),
        InputEvent::toolChoice(20000001, 3, 7),
        InputEvent::press(20000001, 2, 12, 13, 7),
        InputEvent::grow(20000001, 2.5f, 7),
        InputEvent::motion(20000002, 14, 15, maxReplayPointer),
        InputEvent::release(20000002, 2, 14, 15, 7),
        InputEvent::release(maxReplayTicks - 1, 31, 0, -1000000),
        InputEvent::keyPress(maxReplayTicks, 255),
    };
    std::string text = replayHeaderText(header);
    for (const InputEvent& event : events) {
        text += replayEventLine(event);
    }

    ReplayHeader read;
    std::vector<InputEvent> readEvents;
    ASSERT_EQ(readAll(text, read, readEvents), "") << text;

    EXPECT_EQ(replayHeaderText(read), replayHeaderText(header));
    EXPECT_EQ(read.clearAfterSeconds, 0.1);
    EXPECT_EQ(read.idleScatterSeconds, 0.0);
    EXPECT_EQ(read.leastToolPixels, 126.0000001);
    EXPECT_EQ(readEvents, events) << "every dt and tick comes back exactly";
}

TEST(ReplayFile, TheDefaultPictureHasNoPhotoLineAndNotesItsBoard) {
    ReplayHeader header;
    header.checksum = 255;
    EXPECT_EQ(replayHeaderText(header), defaultHeader);
}

TEST(ReplayFile, APortraitPhotographIsMadeAgainOnItsBoard) {
    ReplayHeader header;
    header.picture = ReplayHeader::Photograph;
    header.picturePath = "phone.jpg";
    header.board = {300, 640};
    ReplayHeader read;
    std::vector<InputEvent> events;
    ASSERT_EQ(readAll(replayHeaderText(header), read, events), "");
    EXPECT_EQ(read.board, header.board);
    EXPECT_EQ(read.photo.fit, Fit::own);
    EXPECT_EQ(read.photo.cellsAcross, 0) << "cells auto";
    EXPECT_DOUBLE_EQ(read.photo.shape, 300.0 / 640.0);
    read.board = {1, 1};
    ASSERT_EQ(readAll(version3Header, read, events), "");
    EXPECT_EQ(read.board, BoardSize{}) << "version 3 knew only the 4:3 board";
}

TEST(ReplayFile, AVersion2RecordingScattersAfterTheDefaultTime) {
    ReplayHeader header;
    header.idleScatterSeconds = 5.0;
    std::vector<InputEvent> events;
    ASSERT_EQ(readAll(version2Header + "5 idle 0.01\n", header, events), "");
    EXPECT_EQ(header.idleScatterSeconds, 27.0);
    EXPECT_EQ(events, std::vector<InputEvent>{InputEvent::idle(5, 0.01f)});
}

TEST(ReplayFile, AVersion3RecordingHasTheMouseToolbar) {
    ReplayHeader header;
    header.leastToolPixels = 48.0;
    std::vector<InputEvent> events;
    ASSERT_EQ(readAll(version3Header + "5 idle 0.01 x2 every 10000000\n", header, events), "");
    EXPECT_EQ(header.leastToolPixels, 0.0);
    EXPECT_EQ(events.size(), 2u);
}

TEST(ReplayFile, ARecordingCutShortPlaysUpToItsLastWholeLine) {
    std::vector<InputEvent> events;
    ReplayHeader header;
    EXPECT_EQ(readAll(defaultHeader + "5 key 97\n6 idle 0.01", header, events), "");
    ASSERT_EQ(events.size(), 1u) << "the half line is passed over";
    EXPECT_EQ(events[0], InputEvent::keyPress(5, 97));
}

TEST(ReplayFile, AHeaderLineTooLongForAPathIsRefused) {
    ReplayHeader header;
    header.picture = ReplayHeader::PictureSet;
    header.picturePath = std::string(maxReplayLine, 'a');
    EXPECT_EQ(replayHeaderError(header), "the picture's name is too long to record");
    header.picturePath = "two\nlines";
    EXPECT_EQ(replayHeaderError(header),
              "a picture whose name holds a line break cannot be recorded");
}

TEST(ReplayFile, TheLongestLineIsReadAndOneByteMoreIsRefused) {
    // A line may hold 4199 bytes before its line feed: here a picture line.
    const std::string start = "tessera-replay 2\nwindow 640 480\npicture set ";
    const std::string rest = "\ncanvas clear-after 0 max-shapes 0 reference-drawing 0\n"
                             "checksum 00000000000000ff\nevents\n";
    const std::string longest(maxReplayLine - 1 - std::string("picture set ").size(), 'p');
    ReplayHeader header;
    std::vector<InputEvent> events;
    ASSERT_EQ(readAll(start + longest + rest, header, events), "");
    EXPECT_EQ(header.picturePath, longest);

    EXPECT_EQ(faultOf(start + longest + "p" + rest), "demo:3: line longer than 4199 bytes");
}

TEST(ReplayFile, EveryPictureNameTheRecorderTakesReadsBack) {
    for (const auto picture : {ReplayHeader::PictureSet, ReplayHeader::Photograph}) {
        SCOPED_TRACE(picture);
        ReplayHeader header;
        header.picture = picture;
        header.picturePath = "n";
        while (replayHeaderError(header).empty()) {
            header.picturePath += 'n';
        }
        header.picturePath.pop_back(); // the longest name it takes
        ASSERT_GT(header.picturePath.size(), 4000u);
        ReplayHeader read;
        std::vector<InputEvent> events;
        EXPECT_EQ(readAll(replayHeaderText(header), read, events), "");
        EXPECT_EQ(read.picturePath, header.picturePath);
    }
}

TEST(ReplayFile, EveryEventDeliveredBeforeAKillIsOnDisk) {
    test::TempDir dir;
    const std::string path = dir.path("session.tessera-replay");
    const std::vector<InputEvent> events = {InputEvent::press(10, 2, 5, 6),
                                            InputEvent::keyPress(20, 'z')};
    EXPECT_EXIT(
        {
            const Canvas canvas;
            Recorder recorder(canvas);
            if (!recorder.open(path).empty() || !recorder.start(ReplayHeader()).empty()) {
                std::exit(1);
            }
            for (const InputEvent& event : events) {
                recorder.delivered(event);
            }
            std::raise(SIGKILL);
        },
        testing::KilledBySignal(SIGKILL), "");

    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    ReplayHeader header;
    std::vector<InputEvent> read;
    EXPECT_EQ(readAll(text, header, read), "");
    EXPECT_EQ(read, events);
}

struct HostileFile {
    const char* name;
    std::string text;
    std::string fault;
};

TEST(ReplayFile, HostileFilesAreRefusedWithTheLineAtFault) {
    const std::string header = version2Header;
    const std::string v3 = version3Header;
    const std::string v5 = defaultHeader;
    const std::string v4 = "tessera-replay 4" + defaultHeader.substr(16);
    const std::string v4Canvas = "tessera-replay 4\nwindow 640 480\npicture default\nboard 640 "
                                 "480\ncanvas clear-after 0 max-shapes 0 reference-drawing 0 "
                                 "idle-scatter 27";
    const std::string v3Canvas = "tessera-replay 3\nwindow 640 480\npicture default\ncanvas "
                                 "clear-after 0 max-shapes 0 reference-drawing 0";
    const std::string firstEvent = "demo:7: ";
    const std::string firstV4Event = "demo:8: "; // after the board's line
    const std::string notATime =
        " is not a whole number of nanoseconds from 0 to 1000000000000000000";
    const HostileFile files[] = {
        {"empty", "", "demo:1: not a tessera replay file"},
        {"garbage",
         "\x7f"
         "ELF\x01\x02\n",
         "demo:1: not a tessera replay file"},
        {"CR LF line ends", "tessera-replay 2\r\nwindow 640 480\r\n",
         "demo:1: its lines end in CR LF; a tessera replay file's lines end in LF alone"},
        {"newer version", "tessera-replay 6\n",
         "demo:1: format version 6 is not known (this program reads versions 2 to 5)"},
        {"board of no size", "tessera-replay 4\nwindow 640 480\npicture default\nboard 0 480\n",
         "demo:4: expected \"board WIDTH HEIGHT\" with each side (1 to 6400), not "
         "'board 0 480'"},
        {"version 1, whose presses landed elsewhere", "tessera-replay 1\nwindow 640 480\n",
         "demo:1: format version 1 painted each press at the window pixel taken as a board "
         "point, not under the pointer: played now its shapes would land elsewhere, so only "
         "versions 2 to 5 are played"},
        {"cut in the header", "tessera-replay 2\nwindow 640 480\n",
         "demo:3: the file ends inside the header; expected \"picture default\", \"picture set "
         "PATH\" or \"picture photo PATH\""},
        {"header lines swapped", "tessera-replay 2\npicture default\nwindow 640 480\n",
         "demo:2: expected \"window WIDTH HEIGHT\", not 'picture default'"},
        {"window too wide", "tessera-replay 2\nwindow 8193 480\n",
         "demo:2: expected \"window WIDTH HEIGHT\" with each side (1 to 8192), not 'window "
         "8193 480'"},
        {"window without width", "tessera-replay 2\nwindow 0 480\n",
         "demo:2: expected \"window WIDTH HEIGHT\" with each side (1 to 8192), not 'window "
         "0 480'"},
        {"window too tall", "tessera-replay 2\nwindow 640 8193\n",
         "demo:2: expected \"window WIDTH HEIGHT\" with each side (1 to 8192), not 'window "
         "640 8193'"},
        {"photo line missing",
         "tessera-replay 2\nwindow 640 480\npicture photo cat.jpg\ncanvas clear-after 0 "
         "max-shapes 0 reference-drawing 0\n",
         "demo:4: expected \"photo regions K cells WxH fit MODE max-size WxH\", not 'canvas "
         "clear-after 0 max-shapes 0 reference-drawing 0'"},
        {"photo option out of range",
         "tessera-replay 2\nwindow 640 480\npicture photo cat.jpg\nphoto regions 300 cells "
         "64x48 fit crop max-size 1024x768\n",
         "demo:4: photo regions needs a whole number from 1 to 255, not '300'"},
        {"checksum not hex",
         "tessera-replay 2\nwindow 640 480\npicture default\ncanvas clear-after 0 max-shapes 0 "
         "reference-drawing 0\nchecksum 00000000000000FF\n",
         "demo:5: expected \"checksum\" and 16 lower-case hexadecimal digits, not 'checksum "
         "00000000000000FF'"},
        {"oversized line", header + std::string(5000, '1') + "\n",
         firstEvent + "line longer than 4199 bytes"},
        {"reordered", header + "20 idle 0.01\n10 idle 0.01\n",
         "demo:8: the time goes backwards: 10 comes after 20"},
        {"negative time", header + "-1 idle 0.01\n", firstEvent + "the time '-1'" + notATime},
        {"time past the bound", header + "1000000000000000001 idle 0.01\n",
         firstEvent + "the time '1000000000000000001'" + notATime},
        {"time beyond 64 bits", header + "9223372036854775808 idle 0.01\n",
         firstEvent + "the time '9223372036854775808'" + notATime},
        {"unknown event", header + "1 wheel 3\n", firstEvent + "unknown event 'wheel'"},
        {"a pointer before version 5", v4 + "1 press 2 10 10 p3\n",
         firstV4Event + "expected \"TICKS press BUTTON X Y\", not '1 press 2 10 10 p3'"},
        {"a pointer without its number", v5 + "1 motion 3 4 pX\n",
         firstV4Event + "a pointer needs \"p\" and a number (0 to 2147483647), not 'pX'"},
        {"a tool no toolbar has", v5 + "1 tool 4 p2\n",
         firstV4Event + "a tool needs a number (0 to 3), not '4'"},
        {"junk after the fields", header + "1 key 97 98\n",
         firstEvent + "expected \"TICKS key CODE\", not '1 key 97 98'"},
        {"two spaces", header + "1  key 97\n",
         firstEvent + "expected an event, \"TICKS KIND FIELDS\", not '1  key 97'"},
        {"carriage return", header + "1 key 97\r\n",
         firstEvent + "a key needs a code (0 to 255), not '97?'"},
        {"key out of range", header + "1 key 256\n",
         firstEvent + "a key needs a code (0 to 255), not '256'"},
        {"button out of range", header + "1 press 32 10 10\n",
         firstEvent + "a button needs a number (0 to 31), not '32'"},
        {"pointer far off", header + "1 motion 10 -1000001\n",
         firstEvent + "a pointer position needs whole numbers (-1000000 to 1000000), not '10' "
                      "'-1000001'"},
        {"dt not finite", header + "1 idle nan\n",
         firstEvent + "an idle step needs seconds from 0 to 1e6, not 'nan'"},
        {"dt negative", header + "1 idle -0.5\n",
         firstEvent + "an idle step needs seconds from 0 to 1e6, not '-0.5'"},
        {"dt overflows", header + "1 idle 1e999\n",
         firstEvent + "an idle step needs seconds from 0 to 1e6, not '1e999'"},
        {"reshape too wide", header + "1 reshape 8193 480\n",
         firstEvent + "a window size needs whole numbers (0 to 8192), not '8193' '480'"},
        {"reshape too tall", header + "1 reshape 640 8193\n",
         firstEvent + "a window size needs whole numbers (0 to 8192), not '640' '8193'"},
        {"reshape negative", header + "1 reshape -1 480\n",
         firstEvent + "a window size needs whole numbers (0 to 8192), not '-1' '480'"},
        {"pointer most negative plus one", header + "1 press 2 -1000001 0\n",
         firstEvent + "a pointer position needs whole numbers (-1000000 to 1000000), not "
                      "'-1000001' '0'"},
        {"version 2 with idle-scatter",
         "tessera-replay 2\nwindow 640 480\npicture default\ncanvas clear-after 0 max-shapes 0 "
         "reference-drawing 0 idle-scatter 5\n",
         "demo:4: expected \"canvas clear-after SECONDS max-shapes N reference-drawing 0|1\", "
         "not 'canvas clear-after 0 max-shapes 0 reference-drawing 0 idle-scatter 5'"},
        {"version 3 without idle-scatter", v3Canvas + "\n",
         "demo:4: expected \"canvas clear-after SECONDS max-shapes N reference-drawing 0|1 "
         "idle-scatter SECONDS\", not 'canvas clear-after 0 max-shapes 0 reference-drawing 0'"},
        {"idle-scatter negative", v3Canvas + " idle-scatter -1\n",
         "demo:4: idle-scatter needs seconds from 0 to 1e9, not '-1'"},
        {"version 4 without tool-pixels", v4Canvas + "\n",
         "demo:5: expected \"canvas clear-after SECONDS max-shapes N reference-drawing 0|1 "
         "idle-scatter SECONDS tool-pixels PIXELS\", not '" +
             v4Canvas.substr(62) + "'"},
        {"tool-pixels past the largest window", v4Canvas + " tool-pixels 8193\n",
         "demo:5: tool-pixels needs pixels (0 to 8192), not '8193'"},
        {"a grow event in version 3", version3Header + "1 grow 2\n",
         firstEvent + "unknown event 'grow'"},
        {"a grow that shrinks", v4 + "1 grow 0.5\n",
         firstV4Event + "a grow event needs a factor from 1 to 1e6, not '0.5'"},
        {"a grow past the bound", v4 + "1 grow 1000001\n",
         firstV4Event + "a grow event needs a factor from 1 to 1e6, not '1000001'"},
        {"a grow without its factor", v4 + "1 grow\n",
         firstV4Event + "expected \"TICKS grow FACTOR\", not '1 grow'"},
        {"a run in version 2", header + "1 idle 0.01 x2 every 5\n",
         firstEvent + "expected \"TICKS idle DT\", not '1 idle 0.01 x2 every 5'"},
        {"a run cut short", v3 + "1 idle 0.01 x2\n",
         firstEvent + "expected \"TICKS idle DT\" or \"TICKS idle DT xN every STEP\", not '1 "
                      "idle 0.01 x2'"},
        {"a run's dt", v3 + "1 idle -1 x2 every 5\n",
         firstEvent + "an idle step needs seconds from 0 to 1e6, not '-1'"},
        {"a run of one", v3 + "1 idle 0.01 x1 every 5\n",
         firstEvent + "an idle run needs xN with N from 2 to 1000000, not 'x1'"},
        {"a run too long", v3 + "1 idle 0.01 x1000001 every 5\n",
         firstEvent + "an idle run needs xN with N from 2 to 1000000, not 'x1000001'"},
        {"a run without its x", v3 + "1 idle 0.01 2 every 5\n",
         firstEvent + "an idle run needs xN with N from 2 to 1000000, not '2'"},
        {"a run's word", v3 + "1 idle 0.01 x2 each 5\n",
         firstEvent + "expected \"TICKS idle DT xN every STEP\", not '1 idle 0.01 x2 each 5'"},
        {"a run's step negative", v3 + "1 idle 0.01 x2 every -5\n",
         firstEvent + "an idle run's step needs a whole number of nanoseconds from 0 to "
                      "1000000000000000000, not '-5'"},
        {"a run past the time bound", v3 + "999999999999999990 idle 0.01 x4 every 5\n",
         firstEvent + "the idle run's last step falls past 1000000000000000000 nanoseconds"},
        {"a run of a million steps at one instant", v3 + "1 idle 0.0166666675 x1000000 every 0\n",
         firstEvent + "the idle run's steps come 0 nanoseconds apart, sooner than their dt of "
                      "0.0166666675 seconds"},
        {"a run's steps just sooner than their dt", v3 + "1 idle 0.0166666675 x2 every 16666665\n",
         firstEvent + "the idle run's steps come 16666665 nanoseconds apart, sooner than their "
                      "dt of 0.0166666675 seconds"},
        {"back in time after a run", v3 + "0 idle 0 x3 every 10\n15 key 97\n",
         "demo:8: the time goes backwards: 15 comes after 20"},
    };
    for (const HostileFile& file : files) {
        EXPECT_EQ(faultOf(file.text), file.fault) << file.name;
    }
}

TEST(ReplayFile, EveryBoundOfTheRangesIsTakenAsItStands) {
    std::string text = defaultHeader + "0 reshape 0 0\n"
                                       "0 reshape 8192 8192\n"
                                       "0 press 0 -1000000 1000000\n"
                                       "1 release 31 1000000 -1000000\n"
                                       "1 key 255\n"
                                       "999999999999999990 idle 0 x3 every 5\n"
                                       "1000000000000000000 idle 1e6\n";
    text.replace(text.find("640 480"), 7, "1 8192");
    ReplayHeader header;
    std::vector<InputEvent> events;
    ASSERT_EQ(readAll(text, header, events), "");
    EXPECT_EQ(header.width, 1);
    EXPECT_EQ(header.height, 8192);
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[0].width, 0);
    EXPECT_EQ(events[1].width, 8192);
    EXPECT_EQ(events[2].x, -1000000);
    EXPECT_EQ(events[3].button, 31);
    EXPECT_EQ(events[4].key, 255);
    EXPECT_EQ(events[7].ticks, 1000000000000000000) << "a run may end at the bound";
    EXPECT_EQ(events[8].ticks, 1000000000000000000);
    EXPECT_EQ(events[8].dt, 1.0e6f);
}

// The check takes a run whole, still knowing where it ends; a run the clock can give (its
// step its dt within the float's rounding, or later, after an invitation) passes.
TEST(ReplayFile, TheCheckTakesARunWholeAndKnowsItsLastStep) {
    test::TempDir folder;
    const std::string run = defaultHeader + "0 idle 0 x1000000 every 10\n";
    struct Row {
        const char* name;
        std::string events;
        std::string fault;
    };
    const Row rows[] = {
        {"at the run's last step", "9999990 key 97\n", ""},
        {"before it", "9999989 key 97\n",
         ":9: the time goes backwards: 9999989 comes after 9999990"},
        {"a frame's step, rounded", "9999990 idle 0.0166666675 x2 every 16666666\n", ""},
        {"steps later than their dt", "9999990 idle 0.0166666675 x2 every 30000000000\n", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = folder.write("run", run + row.events);
        ReplayHeader header;
        EXPECT_EQ(checkReplayFile(path, header), row.fault.empty() ? "" : path + row.fault);
    }
}

// A pipe or a device could be read only once, and a FIFO nobody writes would block the open:
// each is refused at once, saying why.
TEST(ReplayFile, OnlyARegularFileIsOpened) {
    test::TempDir folder;
    const std::string fifo = folder.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string why = ": not a regular file; a recording is read twice, to check it and "
                            "to play it, so a pipe or a device cannot be played: save it to a "
                            "file first";
    for (const std::string& path : {fifo, std::string("/dev/null"), folder.path("")}) {
        ReplayHeader header;
        EXPECT_EQ(checkReplayFile(path, header), path + why);
    }
    ReplayHeader header;
    EXPECT_EQ(checkReplayFile(folder.path("none"), header),
              folder.path("none") + ": cannot open: No such file or directory");
    EXPECT_EQ(checkReplayFile(folder.write("ok", defaultHeader + "1 key 97\n"), header), "");
}

} // namespace
} // namespace tessera
