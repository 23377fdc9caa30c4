// The window's commands through the real window: Enter on the default
// button, View Log with logging off, Enable Email with missing fields.
#include <gmock/gmock.h>

#include "CommandIds.h"
#include "MainWindowFixture.h"
#include "ScopedEnvironment.h"

namespace vigilon::test {
namespace {

using ::testing::ElementsAre;

using Commands = MainWindowTest;

TEST_F(Commands, EnterTogglesMonitoringAndTheWindowFollows) {
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    WaitUntilActive();

    input.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !Engine().Run().running; }))
        << "Enter did not stop monitoring";
    EXPECT_TRUE(Window().IsShown()) << "Enter never closes the window";
    EXPECT_EQ(Caption(), "Vigilon - OFF");
    EXPECT_EQ(Text(app::ID_TOGGLE_BUTTON), "&Start Ping");
    EXPECT_TRUE(MenuEnabled(app::ID_FILE_START));
    EXPECT_FALSE(MenuEnabled(app::ID_FILE_STOP));
    EXPECT_TRUE(Visible(1010));
    EXPECT_FALSE(Visible(1018));
    EXPECT_EQ(Text(1004), "***** Vigilon STOPPED *****");

    input.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return Engine().Run().running; }))
        << "Enter did not start monitoring";
    EXPECT_EQ(Caption(), "Vigilon - ON");
    EXPECT_EQ(Text(app::ID_TOGGLE_BUTTON), "S&top Ping");
    EXPECT_FALSE(MenuEnabled(app::ID_FILE_START));
    EXPECT_TRUE(MenuEnabled(app::ID_FILE_STOP));
    EXPECT_TRUE(Visible(1018));
    EXPECT_FALSE(Visible(1010));
    EXPECT_TRUE(MenuChecked(app::ID_OPTIONS_LOG));
    EXPECT_FALSE(MenuChecked(app::ID_OPTIONS_EMAIL));
    EXPECT_THAT(LogMessages(),
                ElementsAre(::testing::HasSubstr("STARTED"), "***** Vigilon STOPPED *****",
                            ::testing::HasSubstr("STARTED")));
}

TEST_F(Commands, ViewLogWithLoggingOffAsksAndOpensTheLogOnlyOnYes) {
    settings.logEnabled = 0;
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    const std::string question = "Logging is not enabled.\n\nEnable Logging Now?.";

    wxTEST_DIALOG(Choose(app::ID_OPTIONS_VIEW_LOG),
                  ExpectMessage(question, wxID_NO, "Enable Log?"));
    EXPECT_FALSE(MenuChecked(app::ID_OPTIONS_LOG));
    EXPECT_EQ(Engine().Settings().logEnabled, 0);
    EXPECT_TRUE(launcher.opened.empty());

    wxTEST_DIALOG(Choose(app::ID_TRAY_VIEW_LOG), ExpectMessage(question, wxID_YES, "Enable Log?"));
    EXPECT_TRUE(MenuChecked(app::ID_OPTIONS_LOG));
    EXPECT_EQ(Engine().Settings().logEnabled, 1);
    EXPECT_THAT(launcher.opened, ElementsAre("Vigilon.log"));
}

TEST_F(Commands, EnablingEmailWithMissingFieldsAsksForThemInTheSettings) {
    settings.mailTo = "ops@example.org";
    settings.mailFrom = "vigilon@example.org";  // no first SMTP server
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    EXPECT_FALSE(MenuChecked(app::ID_OPTIONS_EMAIL));

    wxTEST_DIALOG(Choose(app::ID_OPTIONS_EMAIL),
                  ExpectMessage("Please privide information for your Email settings."));
    EXPECT_THAT(journal, ElementsAre("edit settings for e-mail"));
    // The edit filled nothing in: e-mail stays off, its check mark too.
    EXPECT_FALSE(MenuChecked(app::ID_OPTIONS_EMAIL));
    EXPECT_EQ(Engine().Settings().emailEnabled, 0);
}

// Alt+T opens Tools and P chooses Simple Ping, whatever the button says:
// while monitoring it reads "S&top Ping", whose access key is T as well.
TEST_F(Commands, SimplePingIsReachedThroughItsAccessKeysInBothButtonStates) {
    const std::filesystem::path tool = dir.path / "ravelin";
    std::ofstream(tool) << "#!/bin/sh\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    ScopedEnvironment path("PATH", dir.path.string() + ":" + std::getenv("PATH"));
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    WaitUntilActive();

    // Twice in each state: GTK takes turns among the widgets that share an
    // access key, so a clash shows only at the second try.
    for (const char* button : {"S&top Ping", "S&top Ping", "&Start Ping", "&Start Ping"}) {
        if (Text(app::ID_TOGGLE_BUTTON) != button) Choose(app::ID_TOGGLE_BUTTON);
        ASSERT_EQ(Text(app::ID_TOGGLE_BUTTON), button);
        PumpFor(300ms);
        launcher.launched.clear();
        input.Char('t', wxMOD_ALT);
        PumpFor(300ms);
        input.Char('p');
        EXPECT_TRUE(PumpUntil([&] { return !launcher.launched.empty(); })) << "with " << button;
        EXPECT_THAT(launcher.launched, ElementsAre(ElementsAre(tool.string())))
            << "with " << button;
        EXPECT_EQ(Text(app::ID_TOGGLE_BUTTON), button) << "the keys reached the button";
    }
}

}  // namespace
}  // namespace vigilon::test
