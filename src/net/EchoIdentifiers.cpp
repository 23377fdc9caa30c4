#include "EchoIdentifiers.h"

#include <unistd.h>

#include <atomic>

#include "MonotonicClock.h"
#include "SystemRandom.h"

namespace vigilon {

std::uint16_t ProcessIdentifier() { return static_cast<std::uint16_t>(getpid() & 0xFFFF); }

std::uint16_t UnguessableNumber() {
    std::uint16_t value = 0;
    if (SystemRandomBytes(&value, sizeof value)) return value;
    static std::atomic<std::uint16_t> drawn{0};
    return static_cast<std::uint16_t>(MonotonicMs() * 2654435761U + 40503U * ++drawn);
}

}  // namespace vigilon
