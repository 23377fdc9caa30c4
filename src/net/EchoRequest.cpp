#include "EchoRequest.h"

#include <algorithm>

#include "ByteOrder.h"
#include "IcmpWire.h"

namespace vigilon {

namespace {

constexpr std::uint8_t kLetterE = 0x45;
constexpr int kMillisecondStamp = 4;
constexpr int kMicrosecondStamp = 8;

void StampLowByteFirst(std::uint8_t* data, int bytes, std::int64_t nowUs) {
    std::uint8_t stamp[kMillisecondStamp];
    StoreLe32(stamp, static_cast<std::uint32_t>(nowUs / 1000));
    std::copy_n(stamp, std::min(bytes, kMillisecondStamp), data);
    if (bytes > kMillisecondStamp) std::fill(data + kMillisecondStamp, data + bytes, kLetterE);
}

void StampNetworkOrder(std::uint8_t* data, int bytes, std::int64_t nowUs) {
    for (int i = 0; i < bytes; ++i)
        data[i] = i < kMicrosecondStamp ? static_cast<std::uint8_t>(nowUs >> (8 * (7 - i)))
                                        : static_cast<std::uint8_t>(i);
}

}  // namespace

void StoreEchoField(EchoLayout layout, std::uint8_t* at, std::uint16_t value) {
    if (layout == EchoLayout::LowByteFirst)
        StoreLe16(at, value);
    else
        StoreBe16(at, value);
}

std::uint16_t LoadEchoField(EchoLayout layout, const std::uint8_t* at) {
    return layout == EchoLayout::LowByteFirst ? LoadLe16(at) : LoadBe16(at);
}

std::uint16_t IdentifierStoredAs(EchoLayout layout, std::uint16_t networkValue) {
    std::uint8_t wire[2];
    StoreBe16(wire, networkValue);
    return LoadEchoField(layout, wire);
}

std::vector<std::uint8_t> BuildEchoRequest(EchoLayout layout, std::uint8_t type,
                                           std::uint16_t identifier, std::uint16_t sequence,
                                           int dataBytes, std::int64_t nowUs) {
    dataBytes = std::max(dataBytes, 0);
    std::vector<std::uint8_t> message(static_cast<std::size_t>(kIcmpHeader + dataBytes), 0);
    message[0] = type;
    StoreEchoField(layout, message.data() + 4, identifier);
    StoreEchoField(layout, message.data() + 6, sequence);
    std::uint8_t* data = message.data() + kIcmpHeader;
    if (layout == EchoLayout::LowByteFirst)
        StampLowByteFirst(data, dataBytes, nowUs);
    else
        StampNetworkOrder(data, dataBytes, nowUs);
    StoreLe16(message.data() + 2, IcmpChecksum(message.data(), static_cast<int>(message.size())));
    return message;
}

}  // namespace vigilon
