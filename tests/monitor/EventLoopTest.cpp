// The headless program's event loop: posted tasks, timers and quitting.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "EventLoop.h"
#include "LoopPorts.h"

namespace vigilon::test {
namespace {

TEST(EventLoop, RunsTasksFromOtherThreadsInTheOrderPostedOnItsOwnThread) {
    EventLoop loop;
    ASSERT_EQ(loop.Error(), "");
    std::vector<int> ran;
    std::vector<std::thread::id> where;
    std::thread poster([&] {
        for (int i = 0; i < 1000; ++i)
            loop.Post([&, i] {
                ran.push_back(i);
                where.push_back(std::this_thread::get_id());
            });
        loop.Post([&] { loop.Quit(7); });
        loop.Post([&] { ran.push_back(-1); });  // after Quit: dropped
    });
    EXPECT_EQ(loop.Run(), 7);
    poster.join();
    ASSERT_EQ(ran.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
    for (const std::thread::id& id : where)
        EXPECT_EQ(id, std::this_thread::get_id());
}

// The engine stops TIMER_PING first thing in a cycle: a timer stopped or
// restarted after its period ran out, but before its turn came, must stay
// quiet, or a cycle would run twice.
TEST(EventLoop, TimersRepeatUntilStoppedAndAStoppedOneNeverFires) {
    EventLoop loop;
    int repeating = 0, stopped = 0, restarted = 0;
    LoopTimer repeat(loop, [&] {
        if (++repeating == 3) loop.Quit(0);
    });
    LoopTimer toStop(loop, [&] { ++stopped; });
    LoopTimer toRestart(loop, [&] { ++restarted; });
    toStop.Start(1);
    toRestart.Start(1);
    // Both are due once this task is over; the stop and the new period
    // come first, as the engine's own step would.
    loop.Post([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        toStop.Stop();
        toRestart.Start(60000);
        repeat.Start(5);
    });
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(repeating, 3);
    EXPECT_EQ(stopped, 0);
    EXPECT_EQ(restarted, 0);
}

TEST(EventLoop, ThePauseRunsOnceAndANewOneReplacesThePending) {
    EventLoop loop;
    LoopPause pause(loop);
    std::vector<int> ran;
    pause.After(5, [&] { ran.push_back(1); });
    pause.After(10, [&] {
        ran.push_back(2);
        loop.Post([&] { loop.Quit(0); });
    });
    loop.Run();
    EXPECT_EQ(ran, std::vector<int>{2});

    std::vector<int> fired;
    LoopTimers timers(loop, [&](int id) {
        fired.push_back(id);
        timers.Stop(id);
        if (fired.size() == 2) loop.Quit(0);
    });
    timers.Arm(TIMER_TRAY, 20);
    timers.Arm(TIMER_PING, 5);
    timers.Arm(999, 1);  // no such timer: ignored
    loop.Run();
    EXPECT_EQ(fired, (std::vector<int>{TIMER_PING, TIMER_TRAY}));
}

}  // namespace
}  // namespace vigilon::test
