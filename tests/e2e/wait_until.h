#pragma once

#include <chrono>
#include <thread>

namespace tessera {

// Asks condition again and again, a short pause apart, until it holds or the time is up.
// Gives whether it held. The program under test redraws and reads input at its own pace,
// so tests wait for what they expect to see instead of sleeping for a fixed time.
template <typename Condition>
bool waitUntil(std::chrono::milliseconds timeout, Condition condition,
               std::chrono::milliseconds pause = std::chrono::milliseconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(pause);
    }
    return true;
}

} // namespace tessera
