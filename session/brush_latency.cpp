#include "session/brush_latency.h"

#include <algorithm>
#include <cmath>

namespace tessera {

void BrushLatency::delivered(Instant received) {
    // A show whose frames have stopped (a minimised window) keeps only a frame's worth.
    constexpr std::size_t mostAwaiting = 1 << 16;
    if (awaiting.size() < mostAwaiting) {
        awaiting.push_back(received);
    }
}

void BrushLatency::frameShown(Instant now) {
    for (const Instant received : awaiting) {
        const double ms = std::chrono::duration<double, std::milli>(now - received).count();
        const auto step = static_cast<std::size_t>(std::max(0.0, ms / stepMilliseconds));
        ++counts[std::min(step, steps)];
        ++total;
    }
    awaiting.clear();
}

double BrushLatency::percentile(double p) const {
    if (total == 0) {
        return 0.0;
    }
    const auto rank = static_cast<std::uint64_t>(std::ceil(std::clamp(p, 0.0, 1.0) * total));
    std::uint64_t seen = 0;
    for (std::size_t step = 0; step <= steps; ++step) {
        seen += counts[step];
        if (seen >= std::max<std::uint64_t>(rank, 1)) {
            return static_cast<double>(step + 1) * stepMilliseconds;
        }
    }
    return static_cast<double>(steps + 1) * stepMilliseconds;
}

} // namespace tessera
