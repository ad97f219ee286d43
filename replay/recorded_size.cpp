#include "replay/recorded_size.h"

#include "replay/replay_header.h"

#include <algorithm>
#include <cstdint>

namespace tessera {

RecordedSize recordedSize(int width, int height) {
    const std::int64_t longer = std::max(width, height);
    if (longer <= maxReplayWindowSide) {
        return {width, height};
    }
    // The longer side becomes the limit exactly; the other, never longer, stays within it.
    const auto scaled = [longer](int side) {
        if (side <= 0) {
            return side;
        }
        const std::int64_t rounded =
            (2 * static_cast<std::int64_t>(side) * maxReplayWindowSide + longer) / (2 * longer);
        return static_cast<int>(std::max<std::int64_t>(rounded, 1));
    };
    return {scaled(width), scaled(height)};
}

} // namespace tessera
