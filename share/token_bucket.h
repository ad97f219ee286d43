#pragma once

#include <chrono>

namespace tessera {

// A rate limit: up to `burst` events at once, refilled at `perSecond`; an event beyond it
// is refused. Time is given, so that the limit depends on nothing but the arrivals.
class TokenBucket {
public:
    using Clock = std::chrono::steady_clock;

    TokenBucket(double perSecond, double burst, Clock::time_point start);

    // Takes one token if there is one.
    bool take(Clock::time_point now);

private:
    double perSecond_;
    double burst_;
    double tokens_;
    Clock::time_point last_;
};

} // namespace tessera
