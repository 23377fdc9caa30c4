// The lamps through a real outage: the window monitors 127.0.0.1 inside a
// private network namespace, whose kernel is then told to stop answering.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sched.h>
#include <unistd.h>

#include "MainWindowFixture.h"
#include "NetNamespace.h"

namespace vigilon::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// Moves this thread, the window's, into a namespace and back out again.
class InsideNamespace {
public:
    explicit InsideNamespace(const std::string& name)
        : home_(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
        const int target = ::open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        entered_ = home_ >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
        if (target >= 0) ::close(target);
    }
    ~InsideNamespace() {
        if (entered_) ::setns(home_, CLONE_NEWNET);
        if (home_ >= 0) ::close(home_);
    }
    bool Entered() const { return entered_; }

private:
    int home_;
    bool entered_ = false;
};

using Outage = MainWindowTest;

TEST_F(Outage, LampsFollowATargetThatStopsAndStartsAnsweringAgain) {
    const std::string why = NetNamespace::WhyUnavailable();
    if (!why.empty()) GTEST_SKIP() << why;
    NetNamespace space;
    ASSERT_TRUE(space.Ok()) << space.Error();
    InsideNamespace inside(space.Name());
    ASSERT_TRUE(inside.Entered());

    settings.pingFrequency = 1;  // below what the dialog allows, used as stored
    settings.timeoutsBeforeEmail = 1000;
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);

    ASSERT_TRUE(PumpUntil([&] { return Text(1019) == "1"; }, 5s)) << "no ping cycle";
    EXPECT_THAT(Text(1004), HasSubstr("bytes from 127.0.0.1"));
    EXPECT_TRUE(Visible(1018));
    EXPECT_FALSE(Visible(1020));

    ASSERT_TRUE(space.SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
    ASSERT_TRUE(PumpUntil([&] { return Visible(1020); }, 10s)) << "the target-down lamp never lit";
    EXPECT_FALSE(Visible(1018));
    EXPECT_FALSE(Visible(1010));
    EXPECT_EQ(Text(1004), "timed out");
    EXPECT_EQ(Caption(), "Vigilon - ON");

    ASSERT_TRUE(space.SetSysctl("net.ipv4.icmp_echo_ignore_all", "0"));
    ASSERT_TRUE(PumpUntil([&] { return Visible(1018); }, 15s)) << "the online lamp never came back";
    EXPECT_FALSE(Visible(1020));
    EXPECT_THAT(Text(1004), HasSubstr("bytes from 127.0.0.1"));
    EXPECT_NE(Text(1009), "0");
    EXPECT_THAT(LogMessages(), Contains("127.0.0.1 :: timed out"));
}

}  // namespace
}  // namespace vigilon::test
