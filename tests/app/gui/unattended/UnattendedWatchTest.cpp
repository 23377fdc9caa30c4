// The real program left alone on a desk, in a small world of network
// namespaces (WatchWorld), through one fault after another: no name server,
// a name server that never answers, the target's name added, the link to the
// target down and up again, a mail server that takes the connection and
// never speaks, a notification service that never replies. Its window is
// pinged all the while as a window manager pings it, and must answer within
// a second every time; its log must tell each fault as it happens. Then it
// is ended with a mail still waiting and started again beside a real mail
// server, which must get that mail once, dated when it was written.
#include <gmock/gmock.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "ChildProcess.h"
#include "GuiSession.h"
#include "HttpGet.h"
#include "LogFollower.h"
#include "LogLine.h"
#include "NetNamespace.h"
#include "PeerProcess.h"
#include "RealSmtpServer.h"
#include "StalledSmtpServer.h"
#include "TempWorkDir.h"
#include "WaitingMailFile.h"
#include "WatchWorld.h"
#include "WindowAnswers.h"
#include "XWindowState.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using ::testing::Contains;
using ::testing::ElementsAre;

const std::string kProgram = VIGILON_BUILD_DIR "/vigilon";
const std::string kMainTitle = "Vigilon - ON";
const std::string kBoxTitle = "Vigilon";
const std::string kTarget = WatchWorld::kTargetName;
const std::string kMailTo = "desk@example.org";
const std::string kCantResolveLine = kTarget + " :: Can't resolve " + kTarget;
const std::string kLinkDownLine = kTarget + " :: sendto failed: 101";
const std::string kStalledServerLine =
    std::string("SMTP ") + WatchWorld::kServicesIp + " Server didn't respond.";
const std::string kDeliveredLine = "EMAIL TO: " + kMailTo + " (through) " + WatchWorld::kServicesIp;

double SecondsBetween(Clock::time_point earlier, Clock::time_point later) {
    return std::chrono::duration<double>(later - earlier).count();
}

// The seconds between consecutive entries.
std::vector<double> Gaps(const std::vector<LogFollower::Entry>& entries) {
    std::vector<double> gaps;
    for (std::size_t i = 1; i < entries.size(); ++i)
        gaps.push_back(SecondsBetween(entries[i - 1].seen, entries[i].seen));
    return gaps;
}

// A Date header's time, when it is given in UTC as the program's was.
std::int64_t DateSeconds(const std::string& date) {
    tm parts{};
    const char* end = ::strptime(date.c_str(), "%a, %d %b %Y %H:%M:%S", &parts);
    if (end == nullptr || std::string(end) != " +0000") return -1;
    return static_cast<std::int64_t>(::timegm(&parts));
}

// One run of the program in the watcher, its window pinged every 200 ms and
// its log read as it grows.
class WatchedProgram {
public:
    WatchedProgram(const WatchWorld& world, const fs::path& folder, const std::string& name,
                   const std::vector<std::string>& options = {})
        : log_(NewLinesOf(folder / kLogFileName)),
          process_(WithOptions(world.CommandInWatcher(kProgram, folder.string()), options),
                   folder.string(), {{"TZ", "UTC0"}}, (folder / name).string()),
          answers_(process_.Pid(), kMainTitle) {}

    ChildProcess& Process() { return process_; }
    LogFollower& Log() { return log_; }

    bool ShowsItsWindow() {
        return process_.Started() &&
               PumpUntil(
                   [&] {
                       return StateOfWindowTitled(process_.Pid(), kMainTitle) ==
                              XWindowState::Normal;
                   },
                   30s);
    }

    // Pings and reads until done holds or limit has passed; done's last value.
    bool WatchUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto giveUp = Clock::now() + limit;
        for (;;) {
            const auto round = Clock::now();
            answers_.Ping();
            log_.Poll();
            if (done()) return true;
            if (Clock::now() >= giveUp || !process_.Running()) return false;
            std::this_thread::sleep_until(round + 200ms);
        }
    }

    // Lines with exactly this message, from the index-th entry on.
    std::vector<LogFollower::Entry> Lines(const std::string& message, std::size_t from = 0) const {
        return log_.Matching([&](const std::string& line) { return line == message; }, from);
    }
    std::size_t Count(const std::string& message, std::size_t from = 0) const {
        return Lines(message, from).size();
    }
    // Time-out lines of any kind, from the index-th entry on.
    std::size_t TimeoutLines(std::size_t from) const {
        return log_
            .Matching([](const std::string& line) { return line.starts_with(kTarget + " :: "); },
                      from)
            .size();
    }
    std::size_t Mark() const { return log_.Entries().size(); }

    // Every ping since the last check answered within a second.
    void ExpectSwiftAnswers(const std::string& stretch) {
        std::printf("%-24s %3zu pings, answer median %6.2f ms, worst %7.2f ms\n", stretch.c_str(),
                    answers_.Millis().size(), answers_.Median(), answers_.Worst());
        EXPECT_FALSE(answers_.Millis().empty()) << stretch;
        EXPECT_EQ(answers_.Unanswered(), 0) << stretch << ": pings the window never answered";
        EXPECT_LT(answers_.Worst(), 1000.0)
            << stretch << ": the window held its answer that long (ms)";
        answers_.Clear();
    }

private:
    static std::vector<std::string> WithOptions(std::vector<std::string> command,
                                                const std::vector<std::string>& options) {
        command.insert(command.end(), options.begin(), options.end());
        return command;
    }

    // Read from where an earlier run left the file, before this one starts.
    static LogFollower NewLinesOf(const fs::path& path) {
        LogFollower log(path.string());
        log.SkipToEnd();
        return log;
    }

    LogFollower log_;
    ChildProcess process_;
    WindowAnswers answers_;
};

// What the program logged and said on its error output, shown when the
// test has failed, however it ended.
class ShowRunOnFailure {
public:
    explicit ShowRunOnFailure(const fs::path& folder) : folder_(folder) {}
    ~ShowRunOnFailure() {
        if (!::testing::Test::HasFailure()) return;
        for (const char* file : {kLogFileName, "first.err", "second.err"}) {
            std::ifstream in(folder_ / file, std::ios::binary);
            std::printf("--- %s\n%s\n", file,
                        std::string(std::istreambuf_iterator<char>(in), {}).c_str());
        }
    }

private:
    fs::path folder_;
};

MonitorSettings WatchSettings() {
    MonitorSettings settings = FirstRunSettings();
    settings.targetAddress = kTarget;  // not in the hosts file yet
    settings.controlAddress = WatchWorld::kServicesIp;
    settings.pingFrequency = 1;  // below what the dialog allows, used as stored
    settings.timeoutsBeforeEmail = 2;
    settings.mailFrom = "vigilon@example.org";
    settings.mailTo = kMailTo;
    settings.smtpServer1 = WatchWorld::kServicesIp;
    settings.emailEnabled = 1;
    settings.logEnabled = 1;
    settings.autoMinimize = 0;
    return settings;
}

TEST(UnattendedWatch, WindowAnswersThroughEveryFaultAndTheWaitingAlertArrivesAfterARestart) {
    const std::string why = NetNamespace::WhyUnavailable();
    if (!why.empty()) GTEST_SKIP() << why;
    WatchWorld world;
    ASSERT_EQ(world.Error(), "");
    PeerProcess notices("notification_service.py", {"--silent"});
    ASSERT_TRUE(notices.Ready()) << notices.LastError();
    auto stalledServer =
        std::make_unique<StalledSmtpServer>(world.Services(), WatchWorld::kServicesIp);
    ASSERT_TRUE(stalledServer->Ok());
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    ASSERT_TRUE(StoreSettingsIn(dir.path, WatchSettings()));
    const ShowRunOnFailure diagnosis(dir.path);

    auto first = std::make_unique<WatchedProgram>(world, dir.path, "first");
    ASSERT_TRUE(first->ShowsItsWindow()) << first->Process().Errors();

    // No name server: each lookup fails at once, and the cycles follow the
    // 5-s rhythm of an outage. The second time-out is the alert, whose mail
    // goes to the stalled server and stays there.
    ASSERT_TRUE(first->WatchUntil([&] { return first->Count(kCantResolveLine) >= 3; }, 25s))
        << first->Process().Errors();
    const std::vector<LogFollower::Entry> missing = first->Lines(kCantResolveLine);
    for (const double gap : Gaps(missing)) {
        EXPECT_GT(gap, 4.5);
        EXPECT_LT(gap, 6.5);
    }
    const LogFollower::Entry alert = missing[1];
    EXPECT_EQ(stalledServer->Accepted(), 1) << "the alert's mail went to no server";
    // One box for the three failed lookups.
    EXPECT_EQ(CountWindowsTitled(first->Process().Pid(), kBoxTitle), 1);
    first->ExpectSwiftAnswers("no name server");

    // A name server that never answers: each lookup gives up at its bound,
    // 10 s, and the next cycle comes 5 s after.
    ASSERT_TRUE(world.StartSilentNameServer());
    std::size_t mark = first->Mark();
    ASSERT_TRUE(first->WatchUntil([&] { return first->Count(kCantResolveLine, mark) >= 2; }, 40s));
    std::vector<LogFollower::Entry> silent = first->Lines(kCantResolveLine, mark);
    silent.insert(silent.begin(), missing.back());
    for (const double gap : Gaps(silent)) {
        EXPECT_GT(gap, 14.0);
        EXPECT_LT(gap, 17.0);
    }
    first->ExpectSwiftAnswers("silent name server");

    // The name in the hosts file: the next cycle finds it and the target
    // answers, cycle after cycle.
    ASSERT_TRUE(world.AddTargetName());
    mark = first->Mark();
    long echoes = world.TargetEchoReplies();
    ASSERT_GE(echoes, 0);
    ASSERT_TRUE(first->WatchUntil([&] { return world.TargetEchoReplies() >= echoes + 3; }, 15s));
    EXPECT_EQ(first->TimeoutLines(mark), 0u);
    first->ExpectSwiftAnswers("name added");

    // The watcher's link down: sending fails on this machine, which counts
    // as a time-out, and its box comes once however often it happens.
    EXPECT_EQ(CountWindowsTitled(first->Process().Pid(), kBoxTitle), 1)
        << "a box per failed lookup";
    ASSERT_TRUE(world.SetTargetLink(false));
    mark = first->Mark();
    ASSERT_TRUE(first->WatchUntil([&] { return first->Count(kLinkDownLine, mark) >= 3; }, 20s));
    for (const double gap : Gaps(first->Lines(kLinkDownLine, mark))) {
        EXPECT_GT(gap, 4.5);
        EXPECT_LT(gap, 6.5);
    }
    EXPECT_EQ(first->TimeoutLines(mark), 3u);
    // Beside the lookups' box, still open, one more for the three failed sends.
    EXPECT_EQ(CountWindowsTitled(first->Process().Pid(), kBoxTitle), 2);
    first->ExpectSwiftAnswers("link down");

    ASSERT_TRUE(world.SetTargetLink(true));
    mark = first->Mark();
    echoes = world.TargetEchoReplies();
    ASSERT_TRUE(first->WatchUntil([&] { return world.TargetEchoReplies() >= echoes + 3; }, 15s));
    EXPECT_EQ(first->TimeoutLines(mark), 0u);
    first->ExpectSwiftAnswers("link up");

    // All the while the alert's mail waited on the stalled server; the
    // attempt ends at the reply time-out, 60 s, and the mail stays.
    ASSERT_TRUE(first->WatchUntil([&] { return first->Count(kStalledServerLine) >= 1; }, 70s));
    const double attempt = SecondsBetween(alert.seen, first->Lines(kStalledServerLine)[0].seen);
    EXPECT_GT(attempt, 59.0);
    EXPECT_LT(attempt, 64.0);
    EXPECT_LT(first->Lines(kLinkDownLine).back().seen, first->Lines(kStalledServerLine)[0].seen)
        << "the faults came while the mail server stalled";
    EXPECT_TRUE(first->WatchUntil([&] { return stalledServer->ClosedByClient() == 1; }, 2s));
    EXPECT_EQ(stalledServer->Accepted(), 1) << "no second attempt before the retry wait";
    EXPECT_TRUE(fs::exists(dir.path / kWaitingMailFileName));
    EXPECT_FALSE(notices.Received("capabilities").empty())
        << "the hung notification service was never asked";
    first->ExpectSwiftAnswers("until the attempt ended");

    // Ended through its close box with the alert, its recovery, the second
    // alert and its recovery waiting.
    ASSERT_TRUE(CloseWindowTitled(first->Process().Pid(), kMainTitle));
    EXPECT_EQ(first->Process().Wait(10s), 0);
    first->Log().Poll();
    std::vector<std::string> last = first->Log().Messages();
    last.erase(last.begin(), last.end() - 3);
    EXPECT_THAT(
        last,
        ElementsAre("***** 4 EMAILS NOT YET DELIVERED: they will be sent at the next start *****",
                    "SAVED SETTINGS", "***** EXITING Vigilon *****"));
    ASSERT_TRUE(fs::exists(dir.path / kWaitingMailFileName));

    // A real mail server where the stalled one was, and the program again.
    stalledServer.reset();
    std::unique_ptr<RealSmtpServer> server;
    {
        NamespaceEntry inside(world.Services());
        ASSERT_TRUE(inside.Ok());
        server = std::make_unique<RealSmtpServer>(WatchWorld::kServicesIp, 25);
    }
    ASSERT_TRUE(server->Ready());
    // The window serves metrics too, on the watcher's loopback.
    constexpr int kMetricsPort = 19102;
    auto second = std::make_unique<WatchedProgram>(
        world, dir.path, "second",
        std::vector<std::string>{"--metrics-listen", ":" + std::to_string(kMetricsPort)});
    ASSERT_TRUE(second->ShowsItsWindow()) << second->Process().Errors();
    ASSERT_TRUE(second->WatchUntil([&] { return second->Count(kDeliveredLine) >= 4; }, 30s));
    // A few seconds more: a mail sent twice would show by then.
    second->WatchUntil([] { return false; }, 3s);
    EXPECT_EQ(second->Count(kDeliveredLine), 4u);
    EXPECT_FALSE(fs::exists(dir.path / kWaitingMailFileName));
    // Its counts start with this run: four delivered, none waiting.
    std::string metrics;
    const std::string delivered = "\nvigilon_mail_deliveries_total{outcome=\"delivered\"} 4\n";
    EXPECT_TRUE(second->WatchUntil(
        [&] {
            NamespaceEntry inside(world.Watcher());
            metrics = Body(Get(kMetricsPort, "/metrics"));
            return metrics.find(delivered) != std::string::npos &&
                   metrics.find("\nvigilon_mails_waiting 0\n") != std::string::npos;
        },
        15s))
        << metrics;

    std::vector<std::pair<std::int64_t, std::string>> received;  // date, body
    for (const std::string& message : server->Messages())
        received.emplace_back(DateSeconds(HeaderValue(message, "Date")), BodyOf(message));
    std::sort(received.begin(), received.end());
    ASSERT_EQ(received.size(), 4u);
    // The first alert, dated when the second time-out was logged, not when
    // it went out a minute and more later.
    EXPECT_GE(received[0].first, alert.stamp);
    EXPECT_LE(received[0].first, alert.stamp + 2);
    EXPECT_THAT(received[0].second, ::testing::StartsWith("Time: "));
    EXPECT_THAT(received[0].second,
                ::testing::HasSubstr(" -- " + kTarget + " : OFFLINE\nControl Address: ONLINE\n"));
    EXPECT_THAT(received[1].second, ::testing::HasSubstr(" -- " + kTarget + " : ONLINE\n"));
    EXPECT_THAT(received[2].second, ::testing::HasSubstr(" -- " + kTarget + " : OFFLINE\n"));
    EXPECT_THAT(received[3].second, ::testing::HasSubstr(" -- " + kTarget + " : ONLINE\n"));
    EXPECT_EQ(CountWindowsTitled(second->Process().Pid(), kBoxTitle), 0);
    second->ExpectSwiftAnswers("after the restart");

    ASSERT_TRUE(CloseWindowTitled(second->Process().Pid(), kMainTitle));
    EXPECT_EQ(second->Process().Wait(10s), 0);
    second->Log().Poll();
    EXPECT_THAT(second->Log().Messages(), Contains("***** EXITING Vigilon *****"));
}

}  // namespace
}  // namespace vigilon::test
