#include <filesystem>

#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "LogLine.h"
#include "MonitorEngine.h"
#include "RecordedProblems.h"
#include "SmallTmpfs.h"
#include "StoreTestDir.h"

namespace vigilon::test {
namespace {

// The engine logging into a real EventLog on a full disk: every lost line
// is reported and the ping cycle still re-arms its timer, so monitoring
// goes on instead of ending silently.
class FullDiskMonitoring : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        std::filesystem::create_directory("small");
        if (!MountSmallTmpfs("small", 8)) GTEST_SKIP() << "cannot mount a tmpfs here";
        FillUp("small/filler");
        network.addresses["target.example"] = "192.0.2.7";
        MonitorSettings settings;
        settings.targetAddress = "target.example";
        settings.controlAddress = "control.example";
        settings.timeoutsBeforeEmail = 100;
        engine.AdoptSettings(settings);
    }
    void TearDown() override {
        UnmountSmallTmpfs("small");
        StoreTestDir::TearDown();
    }

    RecordedProblems problems;
    FakeLauncher launcher;
    FakeClock clock;
    const std::string logPath = std::string("small/") + kLogFileName;
    EventLog eventLog{logPath, problems, launcher, clock};
    FakeTimers timers;
    FakeDisplay display;
    FakeNetwork network;
    InlineWork work;
    FakeAlerts alerts;
    FakePause pause;
    FakeProblems probeProblems;
    MonitorEngine engine{
        {timers, display, network, work, alerts, eventLog, clock, pause, probeProblems}};
};

TEST_F(FullDiskMonitoring, TimedOutCyclesKeepTheirTimerAndCounting) {
    const std::string diskFull = "Disk full while accessing " + (dir / logPath).string() + ".";
    engine.ToggleMonitoring();
    ASSERT_EQ(problems.boxes.size(), 1u);  // the start banner was lost
    EXPECT_EQ(problems.boxes[0].text, diskFull);

    network.Script("192.0.2.7", {"timed out"});
    for (int cycle = 1; cycle <= 3; ++cycle) {
        ASSERT_TRUE(timers.IsArmed(TIMER_PING));
        engine.OnTimer(TIMER_PING);
        EXPECT_EQ(engine.Run().targetTimeouts, cycle);
        EXPECT_EQ(timers.Period(TIMER_PING), 5000u) << "cycle " << cycle;
        ASSERT_EQ(problems.boxes.size(), 1u + cycle);
        EXPECT_EQ(problems.boxes.back().text, diskFull);
        EXPECT_EQ(problems.boxes.back().icon, MessageIcon::Stop);
    }
    EXPECT_TRUE(engine.Run().running);
}

}  // namespace
}  // namespace vigilon::test
