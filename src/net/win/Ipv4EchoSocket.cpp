#include "Ipv4EchoSocket.h"

#include <cstring>

#include "SystemSockets.h"

#include <ipexport.h>
#include <iphlpapi.h>
// After ipexport.h, whose types it uses.
#include <icmpapi.h>

#include "IcmpWire.h"

namespace vigilon {

namespace {

// Windows' own wait for each request; the echo rules above give up sooner
// and expire it themselves.
constexpr DWORD kSystemWaitMs = 10000;
// Windows does not hand over the IP header of what answered.
constexpr int kPlainIpv4Header = 20;

struct ErrorMeaning {
    EchoOutcome outcome;
    std::uint8_t type;
    std::uint8_t code;
};

// The ICMP error a status of ICMP_ECHO_REPLY reports; none for a time-out
// or a failure of Windows' own, which the echo rules see as silence.
std::optional<ErrorMeaning> MeaningOf(ULONG status) {
    switch (status) {
        case IP_DEST_NET_UNREACHABLE:
            return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 0};
        case IP_DEST_HOST_UNREACHABLE:
            return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 1};
        case IP_DEST_PROT_UNREACHABLE:
            return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 2};
        case IP_DEST_PORT_UNREACHABLE:
            return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 3};
        case IP_PACKET_TOO_BIG:
            return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 4};
        case IP_BAD_ROUTE: return ErrorMeaning{EchoOutcome::Unreachable, icmp4::kUnreachable, 5};
        case IP_TTL_EXPIRED_TRANSIT:
            return ErrorMeaning{EchoOutcome::TimeExceeded, icmp4::kTimeExceeded, 0};
        case IP_TTL_EXPIRED_REASSEM:
            return ErrorMeaning{EchoOutcome::TimeExceeded, icmp4::kTimeExceeded, 1};
        case IP_PARAM_PROBLEM:
            return ErrorMeaning{EchoOutcome::ParameterProblem, icmp4::kParameterProblem, 0};
        case IP_SOURCE_QUENCH:
            return ErrorMeaning{EchoOutcome::SourceQuench, icmp4::kSourceQuench, 0};
        default: return std::nullopt;
    }
}

}  // namespace

void* Ipv4EchoSocket::CreateHandle() { return ::IcmpCreateFile(); }

unsigned long Ipv4EchoSocket::SendEcho(void* handle, IcmpRequest& request) {
    const auto dataBytes = static_cast<WORD>(request.message.size() - kIcmpHeader);
    // Room for one answer with its data, an ICMP error's quote and the
    // status block Windows keeps at the end.
    request.replies.resize(sizeof(ICMP_ECHO_REPLY) + dataBytes + 8 + 64);
    IP_OPTION_INFORMATION options{};
    options.Ttl = 128;
    return ::IcmpSendEcho2(handle, request.done, nullptr, nullptr, request.to.ToV4().s_addr,
                           request.message.data() + kIcmpHeader, dataBytes, &options,
                           request.replies.data(), static_cast<DWORD>(request.replies.size()),
                           kSystemWaitMs);
}

void Ipv4EchoSocket::Read(const IcmpRequest& request, std::uint8_t* buffer, int size,
                          ReceivedEcho& got) {
    auto* replies = const_cast<std::uint8_t*>(request.replies.data());
    if (::IcmpParseReplies(replies, static_cast<DWORD>(request.replies.size())) == 0) return;
    const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies);
    in_addr from{};
    from.s_addr = reply->Address;
    got.source = IpAddress::V4(from);
    got.roundTripUs = static_cast<std::int64_t>(reply->RoundTripTime) * 1000;
    got.headerBytes = kPlainIpv4Header;

    if (reply->Status == IP_SUCCESS) {
        // The request's header with the data that came back: an answer
        // repeats the request, so the rules compare the two as sent.
        const int messageBytes =
            EchoedMessage(request, icmp4::kEchoReply, reply->Data, reply->DataSize, buffer, size);
        if (messageBytes == 0) return;
        const std::uint16_t sum = IcmpChecksum(buffer, messageBytes);
        std::memcpy(buffer + 2, &sum, 2);
        got.kind = ReceivedEcho::Kind::Reply;
        got.ttl = reply->Options.Ttl;
        got.message = buffer;
        got.messageBytes = messageBytes;
        return;
    }
    const std::optional<ErrorMeaning> meaning = MeaningOf(reply->Status);
    const int requestBytes = static_cast<int>(request.message.size());
    if (!meaning || requestBytes > size) return;
    // The error quotes the request it is about, as it went out.
    std::memcpy(buffer, request.message.data(), requestBytes);
    got.kind = ReceivedEcho::Kind::Error;
    got.message = buffer;
    got.messageBytes = requestBytes;
    got.quoted = buffer;
    got.quotedBytes = requestBytes;
    got.quotedDestination = request.to;
    got.outcome = meaning->outcome;
    got.icmpType = meaning->type;
    got.icmpCode = meaning->code;
}

}  // namespace vigilon
