// Every way out of the window runs the exit sequence; a folder that cannot
// be written keeps the window open.
#include <gmock/gmock.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <wx/evtloop.h>
#include <wx/timer.h>

#include "CommandIds.h"
#include "MainWindowFixture.h"

namespace vigilon::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class Exit : public MainWindowTest {
protected:
    void StartMonitoring() {
        StoreSettings();
        ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
        WaitUntilActive();
    }
    // Monitoring is not stopped first: the log ends with the save and the exit line.
    void ExpectExitSequenceRan() {
        EXPECT_TRUE(PumpUntil([&] { return Window().RunEnded(); })) << "the modal run did not end";
        EXPECT_THAT(LogMessages(), ElementsAre(HasSubstr("STARTED"), "SAVED SETTINGS",
                                               "***** EXITING Vigilon *****"));
        EXPECT_TRUE(Engine().Run().running);
    }
};

TEST_F(Exit, EscapeRunsTheExitSequence) {
    StartMonitoring();
    input.Char(WXK_ESCAPE);
    ExpectExitSequenceRan();
}

TEST_F(Exit, AltF4RunsTheExitSequence) {
    StartMonitoring();
    input.Char(WXK_F4, wxMOD_ALT);  // the window manager turns it into a close request
    ExpectExitSequenceRan();
}

TEST_F(Exit, TheCloseBoxRunsTheExitSequence) {
    StartMonitoring();
    // openbox puts the close box at the right end of the title bar.
    const wxRect frame = Window().GetScreenRect();
    const int menuTop =
        Window().ClientToScreen(wxPoint(0, 0)).y - Window().GetMenuBar()->GetSize().y;
    const int titleHeight = menuTop - frame.GetTop();
    ASSERT_GT(titleHeight, 10) << "no title bar";
    input.MouseMove(frame.GetRight() - titleHeight / 2, frame.GetTop() + titleHeight / 2);
    input.MouseClick();
    ExpectExitSequenceRan();
}

// The tray menu stays usable while a dialog of the program runs its own
// modal loop (the About box, say): an exit chosen there ends the window's
// run as soon as that loop has ended.
TEST_F(Exit, ExitChosenInsideAnotherModalLoopEndsTheRunAfterIt) {
    StartMonitoring();
    bool insideRan = false;
    wxTimer rescue;  // ends a run the exit did not end, so that a failure cannot hang
    rescue.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        ADD_FAILURE() << "the exit did not end the window's run";
        Window().EndModalRun();
    });
    Window().CallAfter([&] {
        wxGUIEventLoop dialogLoop;  // a modal dialog's own loop
        Window().CallAfter([&] {
            Choose(app::ID_TRAY_EXIT);
            insideRan = true;
            dialogLoop.ScheduleExit();
        });
        dialogLoop.Run();
        rescue.StartOnce(3000);
    });
    Window().RunModal();
    rescue.Stop();
    EXPECT_TRUE(insideRan);
    ExpectExitSequenceRan();
}

// Root ignores permission bits; a read-only bind mount of the folder, in a
// mount namespace of this test process, stops it as well.
bool MakeFolderReadOnly(const std::filesystem::path& folder) {
    if (::geteuid() != 0) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        return true;
    }
    const char* path = folder.c_str();
    const bool mounted =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        ::mount(path, path, nullptr, MS_BIND, nullptr) == 0 &&
        ::mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    // The current directory still names the folder under the mount: enter the mount.
    return mounted && ::chdir(path) == 0;
}

// Nobody may be there to help: the failed save is told once, in its box,
// and the program ends all the same. The lost log lines show beside it.
TEST_F(Exit, AFolderThatCannotBeWrittenIsToldOnceAndTheProgramEnds) {
    StartMonitoring();
    ASSERT_TRUE(MakeFolderReadOnly(dir.path));

    wxTEST_DIALOG(Choose(app::ID_FILE_EXIT), ExpectMessage("Unable to save the settings to " +
                                                           (dir.path / kSettingsFileName).string())
                                                 .Containing());
    EXPECT_TRUE(Window().RunEnded());
    Choose(app::ID_FILE_EXIT);  // a second Exit shows nothing more
    EXPECT_TRUE(PumpUntil([&] {
        return ProblemBoxTexts() == std::vector<std::string>{"Unable to open log file."};
    })) << "one box for the lost lines, however many were lost";

    // Writable again, so that the folder can be removed.
    if (::geteuid() == 0) ::umount2(dir.path.c_str(), MNT_DETACH);
    std::filesystem::permissions(dir.path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(::chdir(dir.path.c_str()), 0);
}

}  // namespace
}  // namespace vigilon::test
