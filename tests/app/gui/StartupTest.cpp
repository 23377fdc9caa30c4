// Start-up of the real window: with a settings file, on a first run, and
// with a damaged file.
#include <gmock/gmock.h>

#include "CommandIds.h"
#include "MainWindowFixture.h"

namespace vigilon::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using Startup = MainWindowTest;

TEST_F(Startup, WithASettingsFileTheWindowComesUpMonitoring) {
    settings.targetAddress = "localhost";
    settings.pingFrequency = 47;
    StoreSettings();
    EXPECT_EQ(Start(), app::StartupOutcome::Monitoring);

    EXPECT_TRUE(Window().IsShown());
    EXPECT_TRUE(journal.empty()) << "no settings edit";
    EXPECT_EQ(Caption(), "Vigilon - ON");
    EXPECT_EQ(Text(1002), "localhost");
    EXPECT_EQ(Text(1004), "Getting ready to PING!");
    for (int counter : {1019, 1009, 1008, 1005})
        EXPECT_EQ(Text(counter), "0") << counter;
    EXPECT_FALSE(MenuChecked(app::ID_OPTIONS_EMAIL));
    EXPECT_TRUE(program->Shell().TrayIconShown());
    EXPECT_THAT(LogMessages(), ElementsAre("***** Vigilon STARTED :: aimed at: localhost *****"));

    // The one-second clock runs the countdown down.
    EXPECT_TRUE(PumpUntil([&] { return std::stoi(Text(1047)) <= 45; }, 4s)) << Text(1047);
    EXPECT_THAT(Text(1006), HasSubstr("Days: 0     Hours: 00:00:0"));
}

TEST_F(Startup, AFirstRunEditsTheSettingsBeforeTheWindowIsShown) {
    bool shownDuringEdit = true;
    editing.apply = [&] {
        shownDuringEdit = Window().IsShown();
        Engine().ApplyEditedSettings(settings);
    };
    EXPECT_EQ(Start(), app::StartupOutcome::Monitoring);
    EXPECT_THAT(journal, ElementsAre("edit settings"));
    EXPECT_FALSE(shownDuringEdit);
    EXPECT_TRUE(Window().IsShown());
    EXPECT_EQ(Caption(), "Vigilon - ON");
    EXPECT_EQ(Text(1002), "127.0.0.1");
}

TEST_F(Startup, ADamagedFileStopsStartUpAndMinimisingKeepsTheWindow) {
    StoreSettings();
    std::filesystem::resize_file(kSettingsFileName, 30);
    // Told in a box beside the window that waits for nobody.
    EXPECT_EQ(Start(), app::StartupOutcome::Stopped);
    EXPECT_TRUE(PumpUntil([] {
        return ProblemBoxTexts() ==
               std::vector<std::string>{
                   "An attempt was made to access an unnamed file past its end."};
    }));
    // Closed again, so that the window is the only one titled "Vigilon".
    for (wxWindow* top : wxTopLevelWindows)
        if (auto* box = dynamic_cast<app::MessageBox*>(top)) box->Close();
    EXPECT_TRUE(PumpUntil([] { return ProblemBoxTexts().empty(); }));

    EXPECT_EQ(Caption(), "Vigilon");
    EXPECT_EQ(Text(app::ID_TOGGLE_BUTTON), "Start &Ping");
    EXPECT_TRUE(MenuChecked(app::ID_OPTIONS_LOG) && MenuChecked(app::ID_OPTIONS_EMAIL));
    EXPECT_FALSE(program->Shell().TrayIconShown());
    PumpFor(1600ms);
    EXPECT_EQ(Caption(), "Vigilon") << "nothing started late";
    EXPECT_FALSE(std::filesystem::exists("Vigilon.log"));

    // With no tray icon to bring it back, a minimised window stays on the taskbar.
    WaitUntilActive();
    Window().Iconize(true);
    EXPECT_TRUE(Becomes(XWindowState::Iconic));
    PumpFor(500ms);
    EXPECT_EQ(StateOfWindowTitled("Vigilon"), XWindowState::Iconic);
    Window().Iconize(false);
    EXPECT_TRUE(Becomes(XWindowState::Normal));
}

}  // namespace
}  // namespace vigilon::test
