#include "SystemRandom.h"

#include <sys/random.h>

namespace vigilon {

bool SystemRandomBytes(void* bytes, std::size_t count) {
    return getrandom(bytes, count, GRND_NONBLOCK) == static_cast<ssize_t>(count);
}

}  // namespace vigilon
