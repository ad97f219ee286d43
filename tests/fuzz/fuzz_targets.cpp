#include "fuzz/fuzz_targets.h"

#include "picture/mask_grid.h"
#include "picture/pnm_reader.h"
#include "picture/region_map.h"
#include "replay/replay_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessera {
namespace {

constexpr int boardWidth = 640;
constexpr int boardHeight = 480;

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz target: %s\n", what);
        std::abort();
    }
}

// A read stream over the fuzzer's bytes, closed when it goes out of scope. fmemopen only
// reads through the pointer in "r" mode.
class InputStream {
public:
    InputStream(const std::uint8_t* data, std::size_t size)
        : file_(fmemopen(const_cast<std::uint8_t*>(data), size, "r")) {
        require(file_ != nullptr, "fmemopen failed");
    }
    ~InputStream() { std::fclose(file_); }
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

// What every reader promises: a failure is one line of message and leaves no pixels; a
// success holds exactly width x height pixels of a size within the caps.
void checkImage(const std::string& error, const Image& image, std::size_t bytesPerPixel) {
    if (!error.empty()) {
        require(error.back() == '\n', "message does not end in a line feed");
        require(image.pixels.empty(), "failed read left pixels");
        return;
    }
    require(image.width >= 1 && image.width <= maxImageSide, "width out of range");
    require(image.height >= 1 && image.height <= maxImageSide, "height out of range");
    const std::size_t bytes = static_cast<std::size_t>(image.width) *
                              static_cast<std::size_t>(image.height) * bytesPerPixel;
    require(bytes <= maxImageBytes, "buffer above the cap");
    require(image.pixels.size() == bytes, "buffer size is not width x height pixels");
}

} // namespace

void fuzzPpm(const std::uint8_t* data, std::size_t size) {
    InputStream in(data, size);
    Image image;
    checkImage(parsePpm(in.get(), image), image, 4);
}

void fuzzPgm(const std::uint8_t* data, std::size_t size) {
    InputStream in(data, size);
    Image image;
    const std::string error = parsePgm(in.get(), image);
    checkImage(error, image, 1);
    if (!error.empty()) {
        return;
    }
    const MaskGrid grid{boardWidth, boardHeight, image.width, image.height};
    const long cells = static_cast<long>(image.pixels.size());
    // The sum keeps the reads from being optimised away; the index is read unchecked, so
    // the address sanitizer sees any cell outside the buffer.
    unsigned long sum = 0;
    for (int x = 0; x <= boardWidth; ++x) {
        for (int y = 0; y <= boardHeight; ++y) {
            const long cell = grid.cellAt(x, y);
            sum += image.pixels.data()[cell];
            require(cell >= 0 && cell < cells, "board point maps outside the mask");
        }
    }
    volatile unsigned long sink = sum;
    (void)sink;
}

void fuzzRegionMap(const std::uint8_t* data, std::size_t size) {
    InputStream in(data, size);
    RegionMap map;
    const std::string error = parseRegionMap(in.get(), map);
    if (!error.empty()) {
        require(error.back() == '\n', "message does not end in a line feed");
        return;
    }
    require(map.table.size() <= static_cast<std::size_t>(std::max(map.regionCount, 0)),
            "more entries than announced records");
}

// What the replay reader promises: a fault is one line naming the stream and a line; every
// event it gives is within the ranges, and their times never go back.
void fuzzReplay(const std::uint8_t* data, std::size_t size) {
    InputStream in(data, size);
    ReplayReader reader(in.get(), "replay");
    ReplayHeader header;
    std::string error = reader.readHeader(header);
    InputEvent event;
    std::int64_t last = 0;
    while (error.empty() && reader.next(event, error)) {
        require(event.ticks >= last, "time went back");
        last = event.ticks;
        require(event.dt >= 0.0f && event.dt <= maxReplayStep, "dt out of range");
        require(event.button >= 0 && event.button <= maxReplayButton, "button out of range");
        require(std::abs(event.x) <= maxReplayCoordinate &&
                    std::abs(event.y) <= maxReplayCoordinate,
                "position out of range");
        require(event.key >= 0 && event.key <= maxReplayKey, "key out of range");
        require(event.width >= 0 && event.width <= maxReplayWindowSide && event.height >= 0 &&
                    event.height <= maxReplayWindowSide,
                "window size out of range");
    }
    if (!error.empty()) {
        require(error.rfind("replay:", 0) == 0, "message does not name the file");
        require(error.find('\n') == std::string::npos, "message is more than one line");
        require(error.size() < 400, "message is not short");
    }
}

} // namespace tessera
