// A dialog closed from outside (the tray's Exit) while a nested dialog or a
// check of its own runs: it closes once that has ended, and only once.
#include <gtest/gtest.h>

#include "ExitProgress.h"
#include "OutsideClose.h"

namespace vigilon::app {
namespace {

TEST(OutsideClose, ClosesNowWhenIdleOrOnceTheBusyPartEndsAndOnlyOnce) {
    OutsideClose idle;
    EXPECT_TRUE(idle.Request(false));
    EXPECT_FALSE(idle.Request(false)) << "asked again";
    EXPECT_FALSE(idle.BusyEnded()) << "closed already";

    OutsideClose busy;
    EXPECT_FALSE(busy.BusyEnded()) << "a run ending without a request closes nothing";
    EXPECT_FALSE(busy.Request(true));
    EXPECT_TRUE(busy.Requested());
    EXPECT_FALSE(busy.Request(false)) << "asked again while waiting";
    EXPECT_TRUE(busy.BusyEnded());
    EXPECT_FALSE(busy.BusyEnded());
}

TEST(ExitProgress, AnExitDuringAnEditWaitsForItAndTheEndComesOnce) {
    ExitProgress exit;
    EXPECT_FALSE(exit.TakeWaitingExit());
    exit.WaitForEdit();
    EXPECT_FALSE(exit.Ended());
    EXPECT_TRUE(exit.TakeWaitingExit());
    EXPECT_FALSE(exit.TakeWaitingExit()) << "taken once";
    EXPECT_TRUE(exit.BeginEnd());
    EXPECT_FALSE(exit.BeginEnd());
    exit.WaitForEdit();
    EXPECT_FALSE(exit.TakeWaitingExit()) << "nothing waits once the program has ended";
    EXPECT_TRUE(exit.Ended());
}

}  // namespace
}  // namespace vigilon::app
