// An IPv4 datagram read from the ICMP socket while a request waits: the echo
// reply, someone else's reply, or an ICMP error quoting a request, IP header
// first as the raw socket gives it (the datagram socket's messages are
// dressed the same way before they are read). Checks that reading and
// matching stay inside the datagram and agree with each other: an answer is
// the host's exact echo and decodes as the probe's reply, an error about the
// request is an error and never also an answer.
//
// Input: 1 byte of flags (unused, kept so that the seeds stay valid), the
// request's destination (4 bytes), the datagram's source (4), 2 bytes
// unused, the request's length (2, network order, at least 8), the request,
// then the datagram.

#include <arpa/inet.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoMatch.h"
#include "FuzzCheck.h"
#include "Ipv4Datagram.h"

using namespace vigilon;

namespace {

constexpr std::size_t kHead = 13;

// A datagram that ends where its allocation ends, so that any read past it
// is reported by the address sanitizer. It starts one byte in: an empty one
// would otherwise get a byte of its own that may be read unnoticed.
struct Datagram {
    std::unique_ptr<std::uint8_t[]> allocation;
    std::uint8_t* bytes = nullptr;
    int count = 0;
};

Datagram Exact(const std::uint8_t* from, std::size_t size) {
    Datagram d;
    d.allocation.reset(new std::uint8_t[1 + size]);
    d.bytes = d.allocation.get() + 1;
    d.count = static_cast<int>(size);
    if (size > 0) std::memcpy(d.bytes, from, size);
    return d;
}

bool Printable(const std::string& line) {
    for (const char c : line)
        if (!std::isprint(static_cast<unsigned char>(c))) return false;
    return !line.empty();
}

bool Inside(const std::uint8_t* part, int length, const Datagram& d) {
    return length >= 0 && part >= d.bytes && part + length <= d.bytes + d.count;
}

// A copy of an answer with one thing wrong is no answer.
void CheckAnswerIsExact(const SentEcho& sent, const Datagram& d, const IpAddress& source) {
    const ReceivedEcho got = ReadIpv4Datagram(d.bytes, d.count, source);
    FUZZ_CHECK(source == sent.destination);
    FUZZ_CHECK(got.messageBytes == sent.length);
    FUZZ_CHECK(got.message[0] == 0);

    Datagram changed = Exact(d.bytes, static_cast<std::size_t>(d.count));
    changed.bytes[d.count - 1] ^= 0x01;
    FUZZ_CHECK(!IsAnswerTo(sent, ReadIpv4Datagram(changed.bytes, changed.count, source)));
    const Datagram shorter = Exact(d.bytes, static_cast<std::size_t>(d.count - 1));
    FUZZ_CHECK(!IsAnswerTo(sent, ReadIpv4Datagram(shorter.bytes, shorter.count, source)));
    in_addr other = source.ToV4();
    other.s_addr ^= htonl(1);
    FUZZ_CHECK(!IsAnswerTo(sent, ReadIpv4Datagram(d.bytes, d.count, IpAddress::V4(other))));
}

void CheckDatagram(const SentEcho& sent, const Datagram& d, const IpAddress& source) {
    const ReceivedEcho got = ReadIpv4Datagram(d.bytes, d.count, source);
    FUZZ_CHECK(got.source == source);
    if (got.kind != ReceivedEcho::Kind::Nothing) {
        FUZZ_CHECK(Inside(got.message, got.messageBytes, d));
        FUZZ_CHECK(got.headerBytes + got.messageBytes == d.count);
        FUZZ_CHECK(got.messageBytes >= 8);
    }
    if (got.kind == ReceivedEcho::Kind::Error) FUZZ_CHECK(Inside(got.quoted, got.quotedBytes, d));

    const bool answer = IsAnswerTo(sent, got);
    const bool about = IsErrorAbout(sent, got);
    FUZZ_CHECK(!(answer && about));
    if (about) {
        FUZZ_CHECK(got.kind == ReceivedEcho::Kind::Error && got.quotedBytes >= 8);
        FUZZ_CHECK(got.quotedDestination == sent.destination);
        FUZZ_CHECK(IsIcmpError(got.outcome));
    }

    // The probe that sent the request, as CEchoProbe decodes a datagram.
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr = source.ToV4();
    const CEchoProbe probe([](std::uint32_t) {}, LoadLe16(sent.message + 4));
    const EchoResult result = probe.DecodeResult(d.bytes, d.count, from);
    if (result.outcome == EchoOutcome::Reply) FUZZ_CHECK(result.icmpType == 0);
    if (answer) {
        FUZZ_CHECK(result.outcome == EchoOutcome::Reply);
        FUZZ_CHECK(result.sequence == LoadLe16(sent.message + 6));
        CheckAnswerIsExact(sent, d, source);
    }
    FUZZ_CHECK(Printable(probe.DecodeReply(d.bytes, d.count, from)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHead) return 0;
    in_addr destination{}, source{};
    std::memcpy(&destination, data + 1, 4);
    std::memcpy(&source, data + 5, 4);
    const std::size_t requestLength = LoadBe16(data + 11);
    if (requestLength < 8 || requestLength > size - kHead) return 0;

    // An echo request as it went on the wire: type 8, code 0.
    const Datagram request = Exact(data + kHead, requestLength);
    request.bytes[0] = 8;
    request.bytes[1] = 0;
    const SentEcho sent{request.bytes, request.count, IpAddress::V4(destination)};

    const std::uint8_t* received = data + kHead + requestLength;
    const std::size_t receivedSize = size - kHead - requestLength;
    CheckDatagram(sent, Exact(received, receivedSize), IpAddress::V4(source));
    return 0;
}
