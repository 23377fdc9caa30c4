#include "IcmpEchoSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "SystemSockets.h"

#include <ipexport.h>
#include <iphlpapi.h>
// After ipexport.h, whose types it uses.
#include <icmpapi.h>

#include "IcmpWire.h"
#include "MonotonicClock.h"
#include "WindowsText.h"

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

struct IcmpEchoSocket::Pending {
    HANDLE done = nullptr;
    std::vector<std::uint8_t> request;
    IpAddress to;
    std::int64_t sentAtUs = 0;
    std::vector<std::uint8_t> replies;  // Windows writes here until done is set

    ~Pending() {
        if (done != nullptr) ::CloseHandle(done);
    }
    bool Done() const { return ::WaitForSingleObject(done, 0) == WAIT_OBJECT_0; }
};

IcmpEchoSocket::IcmpEchoSocket() = default;

IcmpEchoSocket::~IcmpEchoSocket() {
    if (icmp_ != nullptr) ::IcmpCloseHandle(icmp_);
    // Windows may still write a late answer into a buffer: the buffers of
    // requests not done yet are let go only when it has finished with them.
    std::vector<std::unique_ptr<Pending>> unfinished;
    for (auto& request : pending_)
        if (!request->Done()) unfinished.push_back(std::move(request));
    if (unfinished.empty()) return;
    std::thread([unfinished = std::move(unfinished)] {
        for (const auto& request : unfinished)
            ::WaitForSingleObject(request->done, kSystemWaitMs * 2);
    }).detach();
}

int IcmpEchoSocket::Open() {
    HANDLE handle = ::IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE) return ErrnoOfWindowsError(::GetLastError());
    icmp_ = handle;
    return 0;
}

int IcmpEchoSocket::Send(const std::vector<std::uint8_t>& message, const IpAddress& to) {
    if (icmp_ == nullptr || message.size() < static_cast<std::size_t>(kIcmpHeader)) return EINVAL;
    auto request = std::make_unique<Pending>();
    request->done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (request->done == nullptr) return ErrnoOfWindowsError(::GetLastError());
    request->request = message;
    request->to = to;
    request->sentAtUs = MonotonicUs();
    const auto dataBytes = static_cast<WORD>(message.size() - kIcmpHeader);
    // Room for one answer with its data, an ICMP error's quote and the
    // status block Windows keeps at the end.
    request->replies.resize(sizeof(ICMP_ECHO_REPLY) + dataBytes + 8 + 64);
    IP_OPTION_INFORMATION options{};
    options.Ttl = 128;
    const DWORD sent = ::IcmpSendEcho2(
        icmp_, request->done, nullptr, nullptr, to.ToV4().s_addr,
        const_cast<std::uint8_t*>(request->request.data()) + kIcmpHeader, dataBytes, &options,
        request->replies.data(), static_cast<DWORD>(request->replies.size()), kSystemWaitMs);
    if (sent == 0 && ::GetLastError() != ERROR_IO_PENDING)
        return ErrnoOfWindowsError(::GetLastError());
    pending_.push_back(std::move(request));
    return 0;
}

SocketWait IcmpEchoSocket::Wait(std::int64_t deadlineUs, WakeHandle) {
    const std::int64_t leftUs = std::max<std::int64_t>(0, deadlineUs - MonotonicUs());
    const auto timeoutMs = static_cast<DWORD>((leftUs + 999) / 1000);
    if (pending_.empty()) {
        ::Sleep(timeoutMs);
        return {SocketWait::End::Quiet, 0};
    }
    std::vector<HANDLE> events;
    for (const auto& request : pending_) {
        if (events.size() == MAXIMUM_WAIT_OBJECTS) break;
        events.push_back(request->done);
    }
    const DWORD ended = ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(),
                                                 FALSE, timeoutMs);
    if (ended < WAIT_OBJECT_0 + events.size()) return {SocketWait::End::Readable, 0};
    if (ended == WAIT_TIMEOUT) return {SocketWait::End::Quiet, 0};
    return {SocketWait::End::Failed, ErrnoOfWindowsError(::GetLastError())};
}

int IcmpEchoSocket::Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    const auto found = std::find_if(pending_.begin(), pending_.end(),
                                    [](const auto& request) { return request->Done(); });
    if (found == pending_.end()) return EAGAIN;
    const std::unique_ptr<Pending> request = std::move(*found);
    pending_.erase(found);
    got = ReceivedEcho{};
    if (::IcmpParseReplies(request->replies.data(), static_cast<DWORD>(request->replies.size())) ==
        0)
        return 0;
    const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(request->replies.data());
    const int requestBytes = static_cast<int>(request->request.size());
    in_addr from{};
    from.s_addr = reply->Address;
    got.source = IpAddress::V4(from);
    got.receivedAtUs = request->sentAtUs + static_cast<std::int64_t>(reply->RoundTripTime) * 1000;
    got.headerBytes = kPlainIpv4Header;

    if (reply->Status == IP_SUCCESS) {
        // The request's header with the data that came back: an answer
        // repeats the request, so the rules compare the two as sent.
        const int messageBytes = kIcmpHeader + reply->DataSize;
        if (messageBytes > size || reply->Data == nullptr) return 0;
        std::memcpy(buffer, request->request.data(), kIcmpHeader);
        std::memcpy(buffer + kIcmpHeader, reply->Data, reply->DataSize);
        buffer[0] = icmp4::kEchoReply;
        buffer[1] = 0;
        buffer[2] = buffer[3] = 0;
        const std::uint16_t sum = IcmpChecksum(buffer, messageBytes);
        std::memcpy(buffer + 2, &sum, 2);
        got.kind = ReceivedEcho::Kind::Reply;
        got.ttl = reply->Options.Ttl;
        got.message = buffer;
        got.messageBytes = messageBytes;
        return 0;
    }
    const std::optional<ErrorMeaning> meaning = MeaningOf(reply->Status);
    if (!meaning || requestBytes > size) return 0;
    // The error quotes the request it is about, as it went out.
    std::memcpy(buffer, request->request.data(), requestBytes);
    got.kind = ReceivedEcho::Kind::Error;
    got.message = buffer;
    got.messageBytes = requestBytes;
    got.quoted = buffer;
    got.quotedBytes = requestBytes;
    got.quotedDestination = request->to;
    got.outcome = meaning->outcome;
    got.icmpType = meaning->type;
    got.icmpCode = meaning->code;
    return 0;
}

}  // namespace vigilon
