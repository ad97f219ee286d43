#include "replay/replay_writer.h"

#include <cinttypes>
#include <cstdio>

namespace tessera {
namespace {

const char* fitName(Fit fit) {
    switch (fit) {
    case Fit::pad:
        return "pad";
    case Fit::stretch:
        return "stretch";
    case Fit::own:
        return "own";
    case Fit::crop:
        break;
    }
    return "crop";
}

std::string cellsText(const PhotoOptions& photo) {
    if (photo.cellsAcross == 0 && photo.cellsDown == 0) {
        return "auto";
    }
    return std::to_string(photo.cellsAcross) + "x" + std::to_string(photo.cellsDown);
}

} // namespace

std::string replayHeaderError(const ReplayHeader& header) {
    if (header.picturePath.find_first_of("\r\n") != std::string::npos) {
        return "a picture whose name holds a line break cannot be recorded";
    }
    if (header.picturePath.size() + 20 > maxReplayLine) {
        return "the picture's name is too long to record";
    }
    return "";
}

std::string replayHeaderText(const ReplayHeader& header) {
    char line[200];
    std::string text = "tessera-replay " + std::to_string(replayFormatVersion) + "\n";
    text += "window " + std::to_string(header.width) + " " + std::to_string(header.height) + "\n";
    switch (header.picture) {
    case ReplayHeader::DefaultPicture:
        text += "picture default\n";
        break;
    case ReplayHeader::PictureSet:
        text += "picture set " + header.picturePath + "\n";
        break;
    case ReplayHeader::Photograph:
        text += "picture photo " + header.picturePath + "\n";
        text += "photo regions " + std::to_string(header.photo.regions) + " cells " +
                cellsText(header.photo) + " fit " + fitName(header.photo.fit) + " max-size " +
                std::to_string(header.photo.maxWidth) + "x" +
                std::to_string(header.photo.maxHeight) + "\n";
        break;
    }
    text += "board " + std::to_string(header.board.width) + " " +
            std::to_string(header.board.height) + "\n";
    std::snprintf(line, sizeof line,
                  "canvas clear-after %.17g max-shapes %d reference-drawing %d idle-scatter %.17g "
                  "tool-pixels %.17g\n",
                  header.clearAfterSeconds, header.maxShapes, header.referenceDrawing ? 1 : 0,
                  header.idleScatterSeconds, header.leastToolPixels);
    text += line;
    std::snprintf(line, sizeof line, "checksum %016" PRIx64 "\n", header.checksum);
    text += line;
    return text + "events\n";
}

std::string replayEventLine(const InputEvent& event) {
    char line[160];
    const long long ticks = event.ticks;
    // The mouse's events are written as they were before pointers had ids.
    char whose[24] = "";
    if (event.pointer != 0) {
        std::snprintf(whose, sizeof whose, " p%d", event.pointer);
    }
    switch (event.kind) {
    case InputEvent::Idle:
        std::snprintf(line, sizeof line, "%lld idle %.9g\n", ticks, static_cast<double>(event.dt));
        break;
    case InputEvent::Press:
    case InputEvent::Release:
        std::snprintf(line, sizeof line, "%lld %s %d %d %d%s\n", ticks,
                      event.kind == InputEvent::Press ? "press" : "release", event.button, event.x,
                      event.y, whose);
        break;
    case InputEvent::Motion:
        std::snprintf(line, sizeof line, "%lld motion %d %d%s\n", ticks, event.x, event.y, whose);
        break;
    case InputEvent::Key:
        std::snprintf(line, sizeof line, "%lld key %d\n", ticks, event.key);
        break;
    case InputEvent::Reshape:
        std::snprintf(line, sizeof line, "%lld reshape %d %d\n", ticks, event.width, event.height);
        break;
    case InputEvent::Grow:
        std::snprintf(line, sizeof line, "%lld grow %.9g%s\n", ticks,
                      static_cast<double>(event.factor), whose);
        break;
    case InputEvent::Tool:
        std::snprintf(line, sizeof line, "%lld tool %d p%d\n", ticks, event.tool, event.pointer);
        break;
    }
    return line;
}

std::string replayIdleRunLine(const InputEvent& first, std::int64_t count, std::int64_t step) {
    if (count == 1) {
        return replayEventLine(first);
    }
    char line[128];
    std::snprintf(line, sizeof line, "%lld idle %.9g x%lld every %lld\n",
                  static_cast<long long>(first.ticks), static_cast<double>(first.dt),
                  static_cast<long long>(count), static_cast<long long>(step));
    return line;
}

} // namespace tessera
