#include "Ipv6EchoSocket.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

#include "SystemSockets.h"

#include <ipexport.h>
#include <iphlpapi.h>
// After ipexport.h, whose types it uses.
#include <icmpapi.h>

#include "ByteOrder.h"
#include "IcmpWire.h"
#include "Icmpv6Message.h"
#include "Icmpv6Wire.h"

namespace vigilon {

namespace {

static_assert(offsetof(Icmpv6EchoReplyHead, status) == 28);

// Windows' own wait for each request; the echo rules above give up sooner
// and expire it themselves.
constexpr DWORD kSystemWaitMs = 10000;

struct ErrorMeaning {
    std::uint8_t type;
    std::uint8_t code;
};

// The ICMPv6 error a status reports (RFC 4443 types and codes); none for a
// time-out or a failure of Windows' own, which the echo rules see as
// silence. Windows' catch-alls read as their type's first code.
std::optional<ErrorMeaning> MeaningOf(std::uint32_t status) {
    switch (status) {
        case IP_DEST_NO_ROUTE:
        case IP_DEST_UNREACHABLE: return ErrorMeaning{icmp6::kUnreachable, 0};
        case IP_DEST_PROHIBITED: return ErrorMeaning{icmp6::kUnreachable, 1};
        case IP_DEST_SCOPE_MISMATCH: return ErrorMeaning{icmp6::kUnreachable, 2};
        case IP_DEST_ADDR_UNREACHABLE: return ErrorMeaning{icmp6::kUnreachable, 3};
        case IP_DEST_PORT_UNREACHABLE: return ErrorMeaning{icmp6::kUnreachable, 4};
        case IP_PACKET_TOO_BIG: return ErrorMeaning{icmp6::kPacketTooBig, 0};
        case IP_HOP_LIMIT_EXCEEDED:
        case IP_TIME_EXCEEDED: return ErrorMeaning{icmp6::kTimeExceeded, 0};
        case IP_REASSEMBLY_TIME_EXCEEDED: return ErrorMeaning{icmp6::kTimeExceeded, 1};
        case IP_PARAMETER_PROBLEM:
        case IP_BAD_HEADER: return ErrorMeaning{icmp6::kParameterProblem, 0};
        default: return std::nullopt;
    }
}

sockaddr_in6 SocketAddress(const in6_addr& address) {
    sockaddr_in6 socketAddress{};
    socketAddress.sin6_family = AF_INET6;
    socketAddress.sin6_addr = address;
    return socketAddress;
}

// The error's header, the quoted IPv6 header to the destination and the
// request, as an ICMPv6 socket hands an error over.
int ErrorMessage(const IcmpRequest& request, const ErrorMeaning& meaning, std::uint8_t* buffer,
                 int size) {
    constexpr int quotedAt = kIcmpHeader + kIpv6Header;
    const int requestBytes = static_cast<int>(request.message.size());
    if (quotedAt + requestBytes > size) return 0;
    std::memset(buffer, 0, quotedAt);
    buffer[0] = meaning.type;
    buffer[1] = meaning.code;
    std::uint8_t* quotedIp = buffer + kIcmpHeader;
    quotedIp[0] = 0x60;  // version 6
    StoreBe16(quotedIp + ip6::kPayloadLengthAt, static_cast<std::uint16_t>(requestBytes));
    quotedIp[ip6::kNextHeaderAt] = icmp6::kNextHeader;
    const in6_addr destination = request.to.ToV6();
    std::memcpy(quotedIp + ip6::kDestinationAt, &destination, sizeof destination);
    std::memcpy(buffer + quotedAt, request.message.data(), requestBytes);
    return quotedAt + requestBytes;
}

}  // namespace

void* Ipv6EchoSocket::CreateHandle() { return ::Icmp6CreateFile(); }

unsigned long Ipv6EchoSocket::SendEcho(void* handle, IcmpRequest& request) {
    const auto dataBytes = static_cast<WORD>(request.message.size() - kIcmpHeader);
    // Room for one answer with its data, an ICMPv6 error's header and the
    // status block Windows keeps at the end.
    request.replies.resize(sizeof(Icmpv6EchoReplyHead) + dataBytes + 8 + 64);
    sockaddr_in6 from = SocketAddress(in6addr_any);
    sockaddr_in6 to = SocketAddress(request.to.ToV6());
    return ::Icmp6SendEcho2(handle, request.done, nullptr, nullptr, &from, &to,
                            request.message.data() + kIcmpHeader, dataBytes, nullptr,
                            request.replies.data(), static_cast<DWORD>(request.replies.size()),
                            kSystemWaitMs);
}

void Ipv6EchoSocket::Read(const IcmpRequest& request, std::uint8_t* buffer, int size,
                          ReceivedEcho& got) {
    auto* replies = const_cast<std::uint8_t*>(request.replies.data());
    if (::Icmp6ParseReplies(replies, static_cast<DWORD>(request.replies.size())) == 0) return;
    ReadIcmpv6EchoReply(request, buffer, size, got);
}

void ReadIcmpv6EchoReply(const IcmpRequest& request, std::uint8_t* buffer, int size,
                         ReceivedEcho& got) {
    got = ReceivedEcho{};
    Icmpv6EchoReplyHead head{};
    if (request.replies.size() < sizeof head) return;
    std::memcpy(&head, request.replies.data(), sizeof head);
    int messageBytes = 0;
    if (head.status == IP_SUCCESS) {
        // Windows does not say how much came back: an answer is as long as
        // the request, whose every byte the rules compare.
        const int dataBytes = std::min(static_cast<int>(request.message.size()) - kIcmpHeader,
                                       static_cast<int>(request.replies.size() - sizeof head));
        messageBytes = EchoedMessage(request, icmp6::kEchoReply,
                                     request.replies.data() + sizeof head, dataBytes, buffer, size);
    } else if (const std::optional<ErrorMeaning> meaning = MeaningOf(head.status)) {
        messageBytes = ErrorMessage(request, *meaning, buffer, size);
    }
    if (messageBytes == 0) return;
    in6_addr from{};
    std::memcpy(&from, head.address, sizeof from);
    got = ReadIcmpv6Message(buffer, messageBytes, IpAddress::V6(from));
    got.roundTripUs = static_cast<std::int64_t>(head.roundTripTimeMs) * 1000;
}

}  // namespace vigilon
