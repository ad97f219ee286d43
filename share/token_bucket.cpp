#include "share/token_bucket.h"

#include <algorithm>

namespace tessera {

TokenBucket::TokenBucket(double perSecond, double burst, Clock::time_point start)
    : perSecond_(perSecond), burst_(burst), tokens_(burst), last_(start) {}

bool TokenBucket::take(Clock::time_point now) {
    if (now > last_) {
        const double elapsed = std::chrono::duration<double>(now - last_).count();
        tokens_ = std::min(burst_, tokens_ + elapsed * perSecond_);
        last_ = now;
    }
    if (tokens_ < 1.0) {
        return false;
    }
    tokens_ -= 1.0;
    return true;
}

} // namespace tessera
