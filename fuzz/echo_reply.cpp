// A datagram read from the ICMP socket while a request waits: the echo
// reply, someone else's reply, or an ICMP error quoting a request, on the raw
// socket (IP header first) or the datagram kind (the ICMP message alone,
// dressed as a raw one). Checks that matching and decoding stay inside the
// datagram and agree with each other: an answer is the host's exact echo and
// decodes as the probe's reply, an error about the request is an error and
// never also an answer.
//
// Input: 1 byte of flags (bit 0: the datagram kind), the request's
// destination (4 bytes), the datagram's source (4), the datagram socket's
// kernel identifier (2, network order), the request's length (2, network
// order, at least 8), the request, then the datagram as the socket gives it.

#include <arpa/inet.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoAnswer.h"
#include "EchoReport.h"
#include "FuzzCheck.h"
#include "IcmpSocket.h"

using namespace vigilon;

namespace {

constexpr std::size_t kHead = 13;
constexpr int kIpHeader = IcmpSocket::kSyntheticHeaderSize;

// A datagram that ends where its allocation ends, so that any read past it
// is reported by the address sanitizer. It starts one byte in: an empty one
// would otherwise get a byte of its own that may be read unnoticed.
struct Datagram {
    std::unique_ptr<std::uint8_t[]> allocation;
    std::uint8_t* bytes = nullptr;
    int count = 0;
};

Datagram Exact(const std::uint8_t* from, std::size_t size, std::size_t room = 0) {
    Datagram d;
    d.allocation.reset(new std::uint8_t[1 + room + size]);
    d.bytes = d.allocation.get() + 1;
    d.count = static_cast<int>(room + size);
    if (size > 0) std::memcpy(d.bytes + room, from, size);
    return d;
}

bool Printable(const std::string& line) {
    for (const char c : line)
        if (!std::isprint(static_cast<unsigned char>(c))) return false;
    return !line.empty();
}

// A copy of an answer with one thing wrong is no answer.
void CheckAnswerIsExact(const SentEcho& sent, const Datagram& d, const sockaddr_in& source) {
    const int ipHeader = (d.bytes[0] & 0x0F) * 4;
    FUZZ_CHECK(source.sin_addr.s_addr == sent.destination.s_addr);
    FUZZ_CHECK(d.count - ipHeader == sent.length);
    FUZZ_CHECK(d.bytes[ipHeader] == 0);

    Datagram changed = Exact(d.bytes, static_cast<std::size_t>(d.count));
    changed.bytes[d.count - 1] ^= 0x01;
    FUZZ_CHECK(!IsAnswerTo(sent, changed.bytes, changed.count, source));
    const Datagram shorter = Exact(d.bytes, static_cast<std::size_t>(d.count - 1));
    FUZZ_CHECK(!IsAnswerTo(sent, shorter.bytes, shorter.count, source));
    sockaddr_in elsewhere = source;
    elsewhere.sin_addr.s_addr ^= htonl(1);
    FUZZ_CHECK(!IsAnswerTo(sent, d.bytes, d.count, elsewhere));
}

void CheckDatagram(const SentEcho& sent, const Datagram& d, const sockaddr_in& source) {
    const std::uint8_t* bytes = d.bytes;
    const bool answer = IsAnswerTo(sent, bytes, d.count, source);
    const bool about = IsErrorAbout(sent, bytes, d.count);
    FUZZ_CHECK(!(answer && about));

    const std::optional<QuotedMessage> quoted = QuotedIcmp(bytes, d.count);
    if (quoted) {
        FUZZ_CHECK(quoted->length >= 0);
        FUZZ_CHECK(quoted->message >= bytes + 48 && quoted->message + quoted->length == bytes + d.count);
    }
    if (about) FUZZ_CHECK(quoted && quoted->length >= 8 &&
                          quoted->destination.s_addr == sent.destination.s_addr);

    // The probe that sent the request, as CEchoProbe reads its datagrams.
    const CEchoProbe probe([](std::uint32_t) {}, LoadLe16(sent.message + 4));
    const EchoResult result = probe.DecodeResult(bytes, d.count, source);
    FUZZ_CHECK(result.source.s_addr == source.sin_addr.s_addr);
    if (result.outcome != EchoOutcome::TooShort) {
        FUZZ_CHECK(result.messageBytes >= 8);
        FUZZ_CHECK(result.ipHeaderBytes + result.messageBytes == d.count);
        FUZZ_CHECK(result.icmpType == bytes[result.ipHeaderBytes]);
    }
    if (result.outcome == EchoOutcome::Reply) FUZZ_CHECK(result.icmpType == 0);
    if (about) FUZZ_CHECK(IsIcmpError(result.outcome));
    if (answer) {
        FUZZ_CHECK(result.outcome == EchoOutcome::Reply);
        FUZZ_CHECK(result.sequence == LoadLe16(sent.message + 6));
        FUZZ_CHECK(result.messageBytes == sent.length);
        CheckAnswerIsExact(sent, d, source);
    }
    FUZZ_CHECK(Printable(probe.DecodeReply(bytes, d.count, source)));

    // Ravelin reads the details of an error about one of its requests; from
    // any other datagram they are read without leaving it too.
    EchoResult details;
    ReadErrorDetails(bytes, d.count, details);
    if (about) {
        FUZZ_CHECK(IsIcmpError(details.outcome));
        FUZZ_CHECK(details.icmpType == bytes[(bytes[0] & 0x0F) * 4]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHead) return 0;
    const bool datagramKind = (data[0] & 0x01) != 0;
    sockaddr_in source{};
    source.sin_family = AF_INET;
    in_addr destination{};
    std::memcpy(&destination, data + 1, 4);
    std::memcpy(&source.sin_addr, data + 5, 4);
    const std::uint16_t kernelIdentifier = LoadBe16(data + 9);
    const std::size_t requestLength = LoadBe16(data + 11);
    if (requestLength < 8 || requestLength > size - kHead) return 0;

    // An echo request as it went on the wire: type 8, code 0.
    const Datagram request = Exact(data + kHead, requestLength);
    request.bytes[0] = 8;
    request.bytes[1] = 0;
    const SentEcho sent{request.bytes, request.count, destination};

    const std::uint8_t* received = data + kHead + requestLength;
    const std::size_t receivedSize = size - kHead - requestLength;
    if (!datagramKind) {
        CheckDatagram(sent, Exact(received, receivedSize), source);
        return 0;
    }
    // The datagram kind gives the message alone, with the kernel's
    // identifier in it, which the probe turns back into its own.
    const Datagram dressed = Exact(received, receivedSize, kIpHeader);
    const std::uint16_t own = LoadLe16(sent.message + 4);
    const int count = AdaptDatagramReply(dressed.bytes, static_cast<int>(receivedSize), source,
                                         kernelIdentifier, own);
    FUZZ_CHECK(count == dressed.count);
    FUZZ_CHECK(dressed.bytes[0] == 0x45 && dressed.bytes[9] == IPPROTO_ICMP);
    FUZZ_CHECK(std::memcmp(dressed.bytes + 12, &source.sin_addr, 4) == 0);
    // Only the identifier of the message may change, nothing else of it.
    for (std::size_t i = 0; i < receivedSize; ++i)
        if (i != 4 && i != 5) FUZZ_CHECK(dressed.bytes[kIpHeader + i] == received[i]);
    CheckDatagram(sent, dressed, source);
    return 0;
}
