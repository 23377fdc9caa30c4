// The folder's lock between real processes: a second holder is refused
// while the first lives, however the first ends, and programs started by
// the holder do not inherit it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "InstanceLock.h"
#include "StoreTestDir.h"
#include "Unprivileged.h"

extern char** environ;

namespace vigilon::test {
namespace {

// A child process that takes the lock, reports what it got, and then
// holds it until it is told to go (or is killed).
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int report[2], release[2];
        if (::pipe(report) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(report[0]);
            ::close(release[1]);
            InstanceLock lock;
            const char got = lock.Acquire(path) == LockResult::Held ? 'H' : 'x';
            (void)!::write(report[1], &got, 1);
            char ignored;
            (void)!::read(release[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(report[1]);
        ::close(release[0]);
        release_ = release[1];
        char got = 0;
        held_ = ::read(report[0], &got, 1) == 1 && got == 'H';
        ::close(report[0]);
    }
    ~LockHolder() { End(SIGKILL); }

    bool Held() const { return held_; }
    // Ends the child: 0 lets it leave on its own, a signal kills it.
    void End(int signal) {
        if (pid_ <= 0) return;
        if (signal != 0) ::kill(pid_, signal);
        ::close(release_);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

using InstanceLockTest = StoreTestDir;

TEST_F(InstanceLockTest, ASecondProcessIsRefusedUntilTheFirstEndsHoweverItEnds) {
    for (int ending : {0, SIGKILL}) {
        LockHolder first(kLockFileName);
        ASSERT_TRUE(first.Held());
        InstanceLock second;
        EXPECT_EQ(second.Acquire(kLockFileName), LockResult::Busy);
        EXPECT_FALSE(second.Held());
        EXPECT_TRUE(second.Error().empty());

        first.End(ending);
        EXPECT_EQ(second.Acquire(kLockFileName), LockResult::Held) << "after signal " << ending;
        EXPECT_TRUE(second.Held());
        // While this process holds it, another is refused in turn.
        EXPECT_FALSE(LockHolder(kLockFileName).Held());
    }
    // The file is made for its owner alone and stays in the folder.
    struct stat info {};
    ASSERT_EQ(::stat(kLockFileName, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(InstanceLockTest, AProgramStartedByTheHolderDoesNotKeepTheLock) {
    pid_t sleeper = -1;
    {
        InstanceLock lock;
        ASSERT_EQ(lock.Acquire(kLockFileName), LockResult::Held);
        char sleep[] = "sleep", seconds[] = "30";
        char* argv[] = {sleep, seconds, nullptr};
        ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
    }
    // The holder is gone; the program it started runs on.
    InstanceLock next;
    EXPECT_EQ(next.Acquire(kLockFileName), LockResult::Held);
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
}

TEST_F(InstanceLockTest, AFolderThatCannotHoldTheFileIsAFailureThatSaysWhy) {
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
    const std::string report = RunUnprivileged([] {
        InstanceLock lock;
        const LockResult result = lock.Acquire(kLockFileName);
        return std::string(result == LockResult::Failed ? "failed: " : "not failed: ") +
               lock.Error();
    });
    EXPECT_EQ(report, "failed: Vigilon.lock: Permission denied");
}

// A link the user made to a lock file elsewhere locks that file: a second
// process, coming through the link or straight, is turned away.
TEST_F(InstanceLockTest, TheUsersOwnLinkLocksTheFileItLeadsTo) {
    std::filesystem::create_directory("elsewhere");
    ASSERT_EQ(::symlink("elsewhere/held.lock", kLockFileName), 0);
    InstanceLock lock;
    ASSERT_EQ(lock.Acquire(kLockFileName), LockResult::Held) << lock.Error();
    EXPECT_TRUE(std::filesystem::is_regular_file("elsewhere/held.lock"));
    EXPECT_FALSE(LockHolder(kLockFileName).Held());
    EXPECT_FALSE(LockHolder("elsewhere/held.lock").Held());
}

}  // namespace
}  // namespace vigilon::test
