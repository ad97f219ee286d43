#include "fuzz/fuzz_targets.h"
#include "share/brush_message.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tessera {
namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz target: %s\n", what);
        std::abort();
    }
}

} // namespace

void fuzzBrushMessage(const std::uint8_t* data, std::size_t size) {
    BrushEvent event;
    const std::string error =
        readBrushMessage(std::string_view(reinterpret_cast<const char*>(data), size), event);
    if (error.empty()) {
        require(size <= maxBrushMessageBytes, "a message over the limit was read");
        require(event.kind != BrushEvent::Gone, "a phone said it was gone");
        require(event.u >= 0.0f && event.u <= 1.0f && event.v >= 0.0f && event.v <= 1.0f,
                "a point off the board");
        require(event.tool >= 0 && event.tool <= BrushEvent::selectTool, "no such tool");
        return;
    }
    // The reason goes back to the phone in a close frame: at most 123 bytes of UTF-8.
    require(error.size() <= 123, "reason too long for a close frame");
    for (const char c : error) {
        require(c >= ' ' && c <= '~', "reason is not printable ASCII");
    }
}

} // namespace tessera
