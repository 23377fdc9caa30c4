#include "IcmpEchoSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

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
// How long Windows may still write into the buffers of requests not done
// when the handle closes.
constexpr DWORD kLateAnswerWaitMs = 20000;
}  // namespace

IcmpRequest::~IcmpRequest() {
    if (done != nullptr) ::CloseHandle(done);
}

bool IcmpRequest::Done() const { return ::WaitForSingleObject(done, 0) == WAIT_OBJECT_0; }

IcmpEchoSocket::~IcmpEchoSocket() {
    if (icmp_ != nullptr) ::IcmpCloseHandle(icmp_);
    // Windows may still write a late answer into a buffer: the buffers of
    // requests not done yet are let go only when it has finished with them.
    std::vector<std::unique_ptr<IcmpRequest>> unfinished;
    for (auto& request : pending_)
        if (!request->Done()) unfinished.push_back(std::move(request));
    if (unfinished.empty()) return;
    std::thread([unfinished = std::move(unfinished)] {
        for (const auto& request : unfinished)
            ::WaitForSingleObject(request->done, kLateAnswerWaitMs);
    }).detach();
}

int IcmpEchoSocket::Open() {
    void* handle = CreateHandle();
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return ErrnoOfWindowsError(::GetLastError());
    icmp_ = handle;
    return 0;
}

int IcmpEchoSocket::Send(const std::vector<std::uint8_t>& message, const IpAddress& to) {
    if (icmp_ == nullptr || message.size() < static_cast<std::size_t>(kIcmpHeader)) return EINVAL;
    auto request = std::make_unique<IcmpRequest>();
    request->done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (request->done == nullptr) return ErrnoOfWindowsError(::GetLastError());
    request->message = message;
    request->to = to;
    if (SendEcho(icmp_, *request) == 0 && ::GetLastError() != ERROR_IO_PENDING)
        return ErrnoOfWindowsError(::GetLastError());
    pending_.push_back(std::move(request));
    return 0;
}

SocketWait IcmpEchoSocket::Wait(std::int64_t deadlineUs, WakeHandle wake) {
    const std::int64_t leftUs = std::max<std::int64_t>(0, deadlineUs - MonotonicUs());
    const auto timeoutMs = static_cast<DWORD>((leftUs + 999) / 1000);
    // The wake event first: a stop wins over answers that came with it.
    std::vector<HANDLE> events;
    if (wake != kNoWake) events.push_back(wake);
    for (const auto& request : pending_) {
        if (events.size() == MAXIMUM_WAIT_OBJECTS) break;
        events.push_back(request->done);
    }
    if (events.empty()) {
        ::Sleep(timeoutMs);
        return {SocketWait::End::Quiet, 0};
    }
    const DWORD ended = ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(),
                                                 FALSE, timeoutMs);
    if (ended == WAIT_TIMEOUT) return {SocketWait::End::Quiet, 0};
    if (ended >= WAIT_OBJECT_0 + events.size())
        return {SocketWait::End::Failed, ErrnoOfWindowsError(::GetLastError())};
    if (wake != kNoWake && ended == WAIT_OBJECT_0) return {SocketWait::End::Woken, 0};
    return {SocketWait::End::Readable, 0};
}

int IcmpEchoSocket::Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    const auto found = std::find_if(pending_.begin(), pending_.end(),
                                    [](const auto& request) { return request->Done(); });
    if (found == pending_.end()) return EAGAIN;
    const std::unique_ptr<IcmpRequest> request = std::move(*found);
    pending_.erase(found);
    got = ReceivedEcho{};
    Read(*request, buffer, size, got);
    return 0;
}

int EchoedMessage(const IcmpRequest& request, std::uint8_t type, const void* data, int dataBytes,
                  std::uint8_t* buffer, int size) {
    const int messageBytes = kIcmpHeader + dataBytes;
    if (messageBytes > size || (data == nullptr && dataBytes > 0)) return 0;
    std::memcpy(buffer, request.message.data(), kIcmpHeader);
    if (dataBytes > 0) std::memcpy(buffer + kIcmpHeader, data, dataBytes);
    buffer[0] = type;
    buffer[1] = 0;
    buffer[2] = buffer[3] = 0;
    return messageBytes;
}

}  // namespace vigilon
