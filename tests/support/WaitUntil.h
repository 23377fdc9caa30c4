#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vigilon::test {

// Asks done every poll until it holds or limit has passed; whether it held.
// For a peer in another process, which nothing here can be told about.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
                      std::chrono::milliseconds poll = std::chrono::milliseconds(50)) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(poll);
    }
    return true;
}

}  // namespace vigilon::test
