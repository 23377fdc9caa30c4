#include "ByteOrder.h"
#include "IcmpWire.h"

namespace vigilon {

std::uint16_t IcmpChecksum(const std::uint8_t* bytes, int length) {
    std::uint32_t sum = 0;
    int i = 0;
    for (; i + 1 < length; i += 2)
        sum += LoadLe16(bytes + i);
    if (i < length) sum += bytes[i];
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

}  // namespace vigilon
