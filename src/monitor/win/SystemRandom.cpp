#define _CRT_RAND_S
#include <stdlib.h>

#include <cstring>

#include "SystemRandom.h"

namespace vigilon {

bool SystemRandomBytes(void* bytes, std::size_t count) {
    auto* out = static_cast<unsigned char*>(bytes);
    while (count > 0) {
        unsigned int value = 0;
        if (::rand_s(&value) != 0) return false;
        const std::size_t taken = count < sizeof value ? count : sizeof value;
        std::memcpy(out, &value, taken);
        out += taken;
        count -= taken;
    }
    return true;
}

}  // namespace vigilon
