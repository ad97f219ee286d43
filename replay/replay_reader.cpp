#include "replay/replay_reader.h"

#include "picture/region_map.h"
#include "replay/idle_run.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <utility>

namespace tessera {
namespace {

constexpr std::string_view magic = "tessera-replay";

// A whole number from low to high: an optional minus and 1 to 19 digits, nothing else.
bool parseWhole(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 19) {
        return false;
    }
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    // 19 digits stay below 2^64; above 2^63 - 1 is out of every range here.
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    const auto number = static_cast<std::int64_t>(magnitude);
    value = negative ? -number : number;
    return value >= low && value <= high;
}

bool parseInt(std::string_view text, int low, int high, int& value) {
    std::int64_t number = 0;
    if (!parseWhole(text, low, high, number)) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// A plain decimal number (digits, point, exponent) from 0 to high. As a float when the
// value is a float, so that the 9 written digits give back the very float recorded.
template <typename Number> bool parseDecimal(std::string_view text, double high, Number& value) {
    if (text.empty() || text.size() > 40 ||
        text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) {
        return false;
    }
    char buffer[48];
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    char* end = nullptr;
    Number number;
    if constexpr (std::is_same_v<Number, float>) {
        number = std::strtof(buffer, &end);
    } else {
        number = std::strtod(buffer, &end);
    }
    if (end != buffer + text.size() || !std::isfinite(number) || number < 0 || number > high) {
        return false;
    }
    value = number;
    return true;
}

std::string range(int low, int high) {
    return " (" + std::to_string(low) + " to " + std::to_string(high) + ")";
}

std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 80;
    std::string out;
    for (const char c : text.substr(0, shown)) {
        out += (c >= 32 && c < 127) ? c : '?';
    }
    return "'" + out + (text.size() > shown ? "...'" : "'");
}

} // namespace

ReplayReader::ReplayReader(std::FILE* in, std::string name) : in(in), name(std::move(name)) {
    line.reserve(maxReplayLine);
}

ReplayReader::Line ReplayReader::readLine() {
    line.clear();
    for (;;) {
        const int c = std::getc(in);
        if (c == EOF) {
            ++lineNumber; // the line that is cut, or not there at all
            if (std::ferror(in) != 0) {
                return Line::Failed;
            }
            return line.empty() ? Line::End : Line::Cut;
        }
        if (c == '\n') {
            ++lineNumber;
            return Line::Whole;
        }
        if (line.size() + 1 >= maxReplayLine) {
            ++lineNumber;
            return Line::TooLong;
        }
        line += static_cast<char>(c);
    }
}

bool ReplayReader::split() {
    fieldCount = 0;
    std::string_view rest = line;
    for (;;) {
        const std::size_t space = rest.find(' ');
        const std::string_view field = rest.substr(0, space);
        if (field.empty() || fieldCount == maxFields) {
            return false;
        }
        fields[fieldCount++] = field;
        if (space == std::string_view::npos) {
            return true;
        }
        rest.remove_prefix(space + 1);
    }
}

std::string ReplayReader::fault(const std::string& what) const {
    return name + ":" + std::to_string(lineNumber) + ": " + what;
}

// Reads the next header line, which must start with keyword; gives the fault, if any.
std::string ReplayReader::expect(const char* keyword, const char* form) {
    const std::string expected = std::string("expected \"") + form + "\"";
    switch (readLine()) {
    case Line::Whole:
        break;
    case Line::Failed:
        return fault(std::string("cannot read: ") + std::strerror(errno));
    case Line::TooLong:
        return fault("line longer than " + std::to_string(maxReplayLine - 1) + " bytes");
    case Line::End:
    case Line::Cut:
        return fault("the file ends inside the header; " + expected);
    }
    if (!split() || fields[0] != keyword) {
        return fault(expected + ", not " + quoted(line));
    }
    return "";
}

std::string ReplayReader::readHeader(ReplayHeader& header) {
    const Line first = readLine();
    if (first == Line::Failed) {
        return fault(std::string("cannot read: ") + std::strerror(errno));
    }
    // A file passed through a tool that writes CR LF is otherwise whole: say so.
    if (first == Line::Whole && line.rfind(magic, 0) == 0 && !line.empty() && line.back() == '\r') {
        return fault("its lines end in CR LF; a tessera replay file's lines end in LF alone");
    }
    if (first != Line::Whole || !split() || fieldCount != 2 || fields[0] != magic ||
        !parseInt(fields[1], 0, 999999999, version)) {
        return fault("not a tessera replay file");
    }
    if (version == 1) {
        return fault("format version 1 painted each press at the window pixel taken as a "
                     "board point, not under the pointer: played now its shapes would land "
                     "elsewhere, so only versions " +
                     std::to_string(oldestReplayFormatVersion) + " to " +
                     std::to_string(replayFormatVersion) + " are played");
    }
    if (version < oldestReplayFormatVersion || version > replayFormatVersion) {
        return fault("format version " + std::to_string(version) +
                     " is not known (this program reads versions " +
                     std::to_string(oldestReplayFormatVersion) + " to " +
                     std::to_string(replayFormatVersion) + ")");
    }
    for (auto step :
         {&ReplayReader::readWindow, &ReplayReader::readPicture, &ReplayReader::readPhoto,
          &ReplayReader::readBoard, &ReplayReader::readCanvas, &ReplayReader::readChecksum}) {
        if (std::string error = (this->*step)(header); !error.empty()) {
            return error;
        }
    }
    if (std::string error = expect("events", "events"); !error.empty()) {
        return error;
    }
    if (fieldCount != 1) {
        return fault("expected \"events\", not " + quoted(line));
    }
    return "";
}

std::string ReplayReader::readWindow(ReplayHeader& header) {
    const char* form = "window WIDTH HEIGHT";
    if (std::string error = expect("window", form); !error.empty()) {
        return error;
    }
    if (fieldCount != 3 || !parseInt(fields[1], 1, maxReplayWindowSide, header.width) ||
        !parseInt(fields[2], 1, maxReplayWindowSide, header.height)) {
        return fault(std::string("expected \"") + form + "\" with each side" +
                     range(1, maxReplayWindowSide) + ", not " + quoted(line));
    }
    return "";
}

std::string ReplayReader::readPicture(ReplayHeader& header) {
    const char* form = "picture default\", \"picture set PATH\" or \"picture photo PATH";
    if (std::string error = expect("picture", form); !error.empty()) {
        return error;
    }
    const std::string_view kind = fieldCount > 1 ? fields[1] : std::string_view();
    if (fieldCount == 2 && kind == "default") {
        header.picture = ReplayHeader::DefaultPicture;
        header.picturePath.clear();
        return "";
    }
    // The path is the rest of the line, spaces and all.
    const std::size_t start = std::string_view("picture ").size() + kind.size() + 1;
    if ((kind != "set" && kind != "photo") || line.size() <= start) {
        return fault(std::string("expected \"") + form + "\", not " + quoted(line));
    }
    header.picture = kind == "set" ? ReplayHeader::PictureSet : ReplayHeader::Photograph;
    header.picturePath = line.substr(start);
    return "";
}

std::string ReplayReader::readPhoto(ReplayHeader& header) {
    if (header.picture != ReplayHeader::Photograph) {
        return "";
    }
    const char* form = "photo regions K cells WxH fit MODE max-size WxH";
    if (std::string error = expect("photo", form); !error.empty()) {
        return error;
    }
    const char* names[] = {"regions", "cells", "fit", "max-size"};
    if (fieldCount != 9) {
        return fault(std::string("expected \"") + form + "\", not " + quoted(line));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (fields[1 + 2 * i] != names[i]) {
            return fault(std::string("expected \"") + form + "\", not " + quoted(line));
        }
        const std::string error = setPhotoOption(std::string("--") + names[i],
                                                 std::string(fields[2 + 2 * i]), header.photo);
        if (!error.empty()) {
            // The option's own message quotes the whole value, however long.
            const std::string need = error.substr(2, error.rfind(", not '") - 2);
            return fault("photo " + need + ", not " + quoted(fields[2 + 2 * i]));
        }
    }
    return "";
}

std::string ReplayReader::readBoard(ReplayHeader& header) {
    header.board = BoardSize{};
    if (version < 4) {
        return "";
    }
    const char* form = "board WIDTH HEIGHT";
    if (std::string error = expect("board", form); !error.empty()) {
        return error;
    }
    if (fieldCount != 3 || !parseInt(fields[1], 1, maxBoardSide, header.board.width) ||
        !parseInt(fields[2], 1, maxBoardSide, header.board.height)) {
        return fault(std::string("expected \"") + form + "\" with each side" +
                     range(1, maxBoardSide) + ", not " + quoted(line));
    }
    // A photograph is made again on the board it was shown on (a screen's shape, say).
    header.photo.shape = static_cast<double>(header.board.width) / header.board.height;
    return "";
}

std::string ReplayReader::readCanvas(ReplayHeader& header) {
    // Version 2 has no idle-scatter: its sessions scattered after the default time. Before
    // version 4 there is no tool-pixels: the mouse's toolbar.
    const bool scatterSaid = version >= 3;
    const bool toolSaid = version >= 4;
    const char* form = toolSaid ? "canvas clear-after SECONDS max-shapes N reference-drawing "
                                  "0|1 idle-scatter SECONDS tool-pixels PIXELS"
                       : scatterSaid
                           ? "canvas clear-after SECONDS max-shapes N reference-drawing "
                             "0|1 idle-scatter SECONDS"
                           : "canvas clear-after SECONDS max-shapes N reference-drawing 0|1";
    if (std::string error = expect("canvas", form); !error.empty()) {
        return error;
    }
    int reference = 0;
    if (fieldCount != (toolSaid      ? 11u
                       : scatterSaid ? 9u
                                     : 7u) ||
        fields[1] != "clear-after" || fields[3] != "max-shapes" ||
        fields[5] != "reference-drawing" || (scatterSaid && fields[7] != "idle-scatter") ||
        (toolSaid && fields[9] != "tool-pixels")) {
        return fault(std::string("expected \"") + form + "\", not " + quoted(line));
    }
    if (!parseDecimal(fields[2], maxReplayClearAfter, header.clearAfterSeconds)) {
        return fault("clear-after needs seconds from 0 to 1e9, not " + quoted(fields[2]));
    }
    if (!parseInt(fields[4], 0, maxReplayShapes, header.maxShapes)) {
        return fault("max-shapes needs a whole number" + range(0, maxReplayShapes) + ", not " +
                     quoted(fields[4]));
    }
    if (!parseInt(fields[6], 0, 1, reference)) {
        return fault("reference-drawing needs 0 or 1, not " + quoted(fields[6]));
    }
    header.referenceDrawing = reference == 1;
    header.idleScatterSeconds = defaultIdleScatterSeconds;
    if (scatterSaid && !parseDecimal(fields[8], maxReplayClearAfter, header.idleScatterSeconds)) {
        return fault("idle-scatter needs seconds from 0 to 1e9, not " + quoted(fields[8]));
    }
    header.leastToolPixels = 0.0;
    if (toolSaid && !parseDecimal(fields[10], maxReplayToolPixels, header.leastToolPixels)) {
        return fault("tool-pixels needs pixels" + range(0, maxReplayWindowSide) + ", not " +
                     quoted(fields[10]));
    }
    return "";
}

std::string ReplayReader::readChecksum(ReplayHeader& header) {
    const char* form = "checksum HEX";
    if (std::string error = expect("checksum", form); !error.empty()) {
        return error;
    }
    if (fieldCount != 2 || fields[1].size() != 16 ||
        fields[1].find_first_not_of("0123456789abcdef") != std::string_view::npos) {
        return fault("expected \"checksum\" and 16 lower-case hexadecimal digits, not " +
                     quoted(line));
    }
    header.checksum = std::strtoull(std::string(fields[1]).c_str(), nullptr, 16);
    return "";
}

void ReplayReader::skipRun() {
    if (runLeft > 0) {
        lastTicks = runNext.ticks + (runLeft - 1) * runStep;
        runLeft = 0;
    }
}

bool ReplayReader::next(InputEvent& event, std::string& error) {
    error.clear();
    if (runLeft > 0) {
        event = runNext;
        lastTicks = event.ticks;
        runNext.ticks += runStep;
        --runLeft;
        return true;
    }
    switch (readLine()) {
    case Line::Whole:
        break;
    case Line::End:
    case Line::Cut:
        return false;
    case Line::Failed:
        error = fault(std::string("cannot read: ") + std::strerror(errno));
        return false;
    case Line::TooLong:
        error = fault("line longer than " + std::to_string(maxReplayLine - 1) + " bytes");
        return false;
    }
    error = readEvent(event);
    return error.empty();
}

std::string ReplayReader::readEvent(InputEvent& event) {
    if (!split() || fieldCount < 2) {
        return fault("expected an event, \"TICKS KIND FIELDS\", not " + quoted(line));
    }
    std::int64_t ticks = 0;
    if (!parseWhole(fields[0], 0, maxReplayTicks, ticks)) {
        return fault("the time " + quoted(fields[0]) +
                     " is not a whole number of nanoseconds from 0 to " +
                     std::to_string(maxReplayTicks));
    }
    if (ticks < lastTicks) {
        return fault("the time goes backwards: " + std::to_string(ticks) + " comes after " +
                     std::to_string(lastTicks));
    }
    const std::string_view kind = fields[1];
    const auto count = [&](std::size_t wanted, const char* form) {
        return fieldCount == wanted + 2
                   ? std::string()
                   : fault("expected \"TICKS " + std::string(form) + "\", not " + quoted(line));
    };
    const auto coordinates = [&](std::size_t first, int& x, int& y) {
        if (!parseInt(fields[first], -maxReplayCoordinate, maxReplayCoordinate, x) ||
            !parseInt(fields[first + 1], -maxReplayCoordinate, maxReplayCoordinate, y)) {
            return fault("a pointer position needs whole numbers" +
                         range(-maxReplayCoordinate, maxReplayCoordinate) + ", not " +
                         quoted(fields[first]) + " " + quoted(fields[first + 1]));
        }
        return std::string();
    };
    std::string error;
    InputEvent read;
    read.ticks = ticks;
    // From version 5 a pointer's events end with its id, "pN", but for the mouse's (0).
    const bool pointed = kind == "press" || kind == "release" || kind == "motion" ||
                         kind == "grow" || kind == "tool";
    if (version >= 5 && pointed && fieldCount > 2 && fields[fieldCount - 1].front() == 'p') {
        const std::string_view id = fields[fieldCount - 1].substr(1);
        if (!parseInt(id, 0, maxReplayPointer, read.pointer)) {
            return fault("a pointer needs \"p\" and a number" + range(0, maxReplayPointer) +
                         ", not " + quoted(fields[fieldCount - 1]));
        }
        --fieldCount;
    }
    if (kind == "idle" && version >= 3 && fieldCount == 6) {
        read.kind = InputEvent::Idle;
        error = readIdleRun(read);
    } else if (kind == "idle") {
        read.kind = InputEvent::Idle;
        if ((error =
                 count(1, version >= 3 ? "idle DT\" or \"TICKS idle DT xN every STEP" : "idle DT"))
                .empty() &&
            !parseDecimal(fields[2], maxReplayStep, read.dt)) {
            error = fault("an idle step needs seconds from 0 to 1e6, not " + quoted(fields[2]));
        }
    } else if (kind == "press" || kind == "release") {
        read.kind = kind == "press" ? InputEvent::Press : InputEvent::Release;
        if ((error = count(3, kind == "press" ? "press BUTTON X Y" : "release BUTTON X Y"))
                .empty()) {
            if (!parseInt(fields[2], 0, maxReplayButton, read.button)) {
                error = fault("a button needs a number" + range(0, maxReplayButton) + ", not " +
                              quoted(fields[2]));
            } else {
                error = coordinates(3, read.x, read.y);
            }
        }
    } else if (kind == "motion") {
        read.kind = InputEvent::Motion;
        if ((error = count(2, "motion X Y")).empty()) {
            error = coordinates(2, read.x, read.y);
        }
    } else if (kind == "key") {
        read.kind = InputEvent::Key;
        if ((error = count(1, "key CODE")).empty() &&
            !parseInt(fields[2], 0, maxReplayKey, read.key)) {
            error =
                fault("a key needs a code" + range(0, maxReplayKey) + ", not " + quoted(fields[2]));
        }
    } else if (kind == "reshape") {
        read.kind = InputEvent::Reshape;
        if ((error = count(2, "reshape WIDTH HEIGHT")).empty() &&
            (!parseInt(fields[2], 0, maxReplayWindowSide, read.width) ||
             !parseInt(fields[3], 0, maxReplayWindowSide, read.height))) {
            error = fault("a window size needs whole numbers" + range(0, maxReplayWindowSide) +
                          ", not " + quoted(fields[2]) + " " + quoted(fields[3]));
        }
    } else if (kind == "grow" && version >= 4) {
        read.kind = InputEvent::Grow;
        if ((error = count(1, "grow FACTOR")).empty() &&
            (!parseDecimal(fields[2], maxReplayGrow, read.factor) || read.factor < 1.0f)) {
            error = fault("a grow event needs a factor from 1 to 1e6, not " + quoted(fields[2]));
        }
    } else if (kind == "tool" && version >= 5) {
        read.kind = InputEvent::Tool;
        if ((error = count(1, "tool TOOL pPOINTER")).empty() &&
            !parseInt(fields[2], 0, maxReplayTool, read.tool)) {
            error = fault("a tool needs a number" + range(0, maxReplayTool) + ", not " +
                          quoted(fields[2]));
        }
    } else {
        error = fault("unknown event " + quoted(kind));
    }
    if (error.empty()) {
        lastTicks = ticks;
        event = read;
    }
    return error;
}

// "TICKS idle DT xN every STEP": N steps of DT, the first at TICKS and each next STEP
// nanoseconds after the one before. Gives the first; next() gives the others.
std::string ReplayReader::readIdleRun(InputEvent& event) {
    if (!parseDecimal(fields[2], maxReplayStep, event.dt)) {
        return fault("an idle step needs seconds from 0 to 1e6, not " + quoted(fields[2]));
    }
    std::int64_t steps = 0;
    if (fields[3].size() < 2 || fields[3][0] != 'x' ||
        !parseWhole(fields[3].substr(1), 2, maxReplayRun, steps)) {
        return fault("an idle run needs xN with N from 2 to " + std::to_string(maxReplayRun) +
                     ", not " + quoted(fields[3]));
    }
    if (fields[4] != "every") {
        return fault("expected \"TICKS idle DT xN every STEP\", not " + quoted(line));
    }
    std::int64_t step = 0;
    if (!parseWhole(fields[5], 0, maxReplayTicks, step)) {
        return fault("an idle run's step needs a whole number of nanoseconds from 0 to " +
                     std::to_string(maxReplayTicks) + ", not " + quoted(fields[5]));
    }
    if (step > 0 && steps - 1 > (maxReplayTicks - event.ticks) / step) {
        return fault("the idle run's last step falls past " + std::to_string(maxReplayTicks) +
                     " nanoseconds");
    }
    if (!idleRunStepFits(step, event.dt)) {
        return fault("the idle run's steps come " + std::to_string(step) +
                     " nanoseconds apart, sooner than their dt of " + std::string(fields[2]) +
                     " seconds");
    }
    runLeft = steps - 1;
    runStep = step;
    runNext = event;
    runNext.ticks = event.ticks + step;
    return "";
}

std::FILE* openReplayFile(const std::string& path, std::string& error) {
    // Without O_NONBLOCK a FIFO that nobody writes would hold the open for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        error = path + ": not a regular file; a recording is read twice, to check it and to "
                       "play it, so a pipe or a device cannot be played: save it to a file first";
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "r");
    if (file == nullptr) {
        error = path + ": cannot open: " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    error.clear();
    return file;
}

std::string checkReplayFile(const std::string& path, ReplayHeader& header) {
    std::string error;
    std::FILE* file = openReplayFile(path, error);
    if (file == nullptr) {
        return error;
    }
    ReplayReader reader(file, path);
    error = reader.readHeader(header);
    InputEvent event;
    while (error.empty() && reader.next(event, error)) {
        reader.skipRun();
    }
    std::fclose(file);
    return error;
}

} // namespace tessera
