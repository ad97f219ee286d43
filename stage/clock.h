#pragma once

#include <chrono>
#include <cstdint>

namespace tessera {

// A monotonic counter with a known frequency: what the Stage reads its time from.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t ticks() = 0;
    virtual std::int64_t ticksPerSecond() = 0;
};

// The real clock: std::chrono::steady_clock in nanoseconds, counted from the clock's
// creation rather than the machine's start, so that press times held in single precision
// keep millisecond resolution however long the machine has been up.
class SteadyClock : public Clock {
public:
    SteadyClock();
    std::int64_t ticks() override;
    std::int64_t ticksPerSecond() override { return 1000000000; }
    // The reading at an instant of std::chrono::steady_clock.
    std::int64_t ticksAt(std::chrono::steady_clock::time_point instant) const;

private:
    std::int64_t origin;
};

// Time that moves only when told to, for tests and replays, and the clock held at each
// event's reading while the Canvas handles it. Counts nanoseconds.
class VirtualClock : public Clock {
public:
    std::int64_t ticks() override { return now; }
    std::int64_t ticksPerSecond() override { return 1000000000; }
    void advance(double seconds) { now += static_cast<std::int64_t>(seconds * 1e9 + 0.5); }
    void set(std::int64_t ticks) { now = ticks; }

private:
    std::int64_t now = 0;
};

} // namespace tessera
