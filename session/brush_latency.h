#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace tessera {

// How soon a brush's event shows: from its message's arrival to the end of the first frame
// drawn after the show handed it to the Canvas. Kept as counts in steps of a tenth of a
// millisecond up to a second (later ones in the last), so that a month of phones costs
// no more memory than a minute.
class BrushLatency {
public:
    using Instant = std::chrono::steady_clock::time_point;
    static constexpr double stepMilliseconds = 0.1;
    static constexpr std::size_t steps = 10000;

    // An event that arrived then has reached the Canvas; the next frame shows it.
    void delivered(Instant received);
    // A frame has been drawn and shown.
    void frameShown(Instant now);

    std::uint64_t count() const { return total; }
    // The latency below which the share p (0 to 1) of events lie, in milliseconds; 0 before
    // any.
    double percentile(double p) const;

private:
    std::vector<Instant> awaiting;
    std::array<std::uint64_t, steps + 1> counts{};
    std::uint64_t total = 0;
};

} // namespace tessera
