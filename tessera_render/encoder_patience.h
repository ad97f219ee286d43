#pragma once

#include <chrono>

namespace tessera {

// How long ffmpeg is waited for before it is given up on. The program's values leave a
// slow machine room; the tests give short ones.
struct EncoderPatience {
    // An ffmpeg being stopped gets this long to end after SIGTERM (and, when it closed its
    // input, before it) before it is sent SIGKILL.
    std::chrono::milliseconds grace{2000};
    // No byte of a frame taken for this long: ffmpeg holds its input open without reading
    // and is stopped.
    std::chrono::milliseconds stall{120000};
};

} // namespace tessera
