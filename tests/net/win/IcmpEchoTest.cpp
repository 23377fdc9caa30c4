// Windows' echo (IcmpSendEcho2) against the loopback address, through the
// probe as the monitor uses it: the answer is read by the same rules and
// gives the same result line as on Linux. And the wake event, which ends a
// wait at once.
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CEchoProbe.h"
#include "EchoRequest.h"
#include "MonotonicClock.h"
#include "ProbeText.h"
#include "TestAddress.h"

#include <windows.h>

namespace vigilon::test {
namespace {

TEST(WindowsEcho, LoopbackAnswersWithTheProbesLines) {
    std::vector<std::uint32_t> pauses;
    CEchoProbe probe([&](std::uint32_t ms) { pauses.push_back(ms); });

    const EchoResult first = probe.Exchange("127.0.0.1", 0);
    ASSERT_EQ(first.outcome, EchoOutcome::Reply) << ProbeText(first, "127.0.0.1");
    EXPECT_EQ(first.source.Text(), "127.0.0.1");
    EXPECT_EQ(first.sequence, 0);
    EXPECT_GT(first.ttl, 0);
    EXPECT_LT(first.roundTripUs, 1'000'000);
    EXPECT_EQ(first.roundTripUs % 1000, 0) << "Windows' own measure, in whole milliseconds";
    EXPECT_EQ(pauses, std::vector<std::uint32_t>{CEchoProbe::kPauseAfterReplyMs});

    // Each probe counts on; the line is the one the log and mails show.
    const std::string line = probe.Ping("127.0.0.1", 0);
    EXPECT_TRUE(std::regex_match(
        line, std::regex(R"(\d+ bytes from 127\.0\.0\.1: icmp_seq = 1\.  time: \d+ ms)")))
        << line;

    // The largest request comes back whole: the data Windows echoes is
    // compared with what was sent.
    const EchoResult largest =
        probe.Exchange("127.0.0.1", CEchoProbe::kBufferSize - CEchoProbe::kHeaderSize);
    ASSERT_EQ(largest.outcome, EchoOutcome::Reply) << ProbeText(largest, "127.0.0.1");
    EXPECT_EQ(largest.messageBytes - first.messageBytes,
              CEchoProbe::kBufferSize - CEchoProbe::kHeaderSize - CEchoProbe::kDefaultDataSize);
    EXPECT_EQ(largest.ipHeaderBytes, 20);
}

TEST(WindowsEcho, WakeEventEndsTheWaitAtOnceAndWinsOverAnswers) {
    const std::unique_ptr<EchoSocket> socket = NewSystemEchoSocket(IpFamily::V4);
    ASSERT_EQ(socket->Open(), 0);
    HANDLE wake = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(wake, nullptr);

    // Nothing sent: the wait watches the wake event alone.
    std::thread stopper([wake] {
        ::Sleep(100);
        ::SetEvent(wake);
    });
    const std::int64_t startUs = MonotonicUs();
    const SocketWait stopped = socket->Wait(startUs + 60'000'000, wake);
    stopper.join();
    EXPECT_EQ(stopped.end, SocketWait::End::Woken);
    EXPECT_LT(MonotonicUs() - startUs, 30'000'000) << "the wait ran to its deadline";

    // A request answered by the loopback and a stop at once: the stop wins.
    const std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::NetworkOrder, 8, 0x1357, 1, 56, MonotonicUs());
    ASSERT_EQ(socket->Send(request, V4Address("127.0.0.1")), 0);
    ::Sleep(200);
    EXPECT_EQ(socket->Wait(MonotonicUs() + 5'000'000, wake).end, SocketWait::End::Woken);

    // Not set: the answer is what ends the wait, then the deadline.
    ::ResetEvent(wake);
    EXPECT_EQ(socket->Wait(MonotonicUs() + 5'000'000, wake).end, SocketWait::End::Readable);
    std::uint8_t buffer[256];
    ReceivedEcho got;
    ASSERT_EQ(socket->Receive(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got.kind, ReceivedEcho::Kind::Reply);
    EXPECT_EQ(socket->Wait(MonotonicUs() + 50'000, wake).end, SocketWait::End::Quiet);
    ::CloseHandle(wake);
}

}  // namespace
}  // namespace vigilon::test
