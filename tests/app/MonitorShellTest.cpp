// The main window's rules without a window: start-up and exit order, the
// commands table, e-mail and log switches, the tray icon and when the
// window may withdraw into the tray.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

#include "CommandIds.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "MonitorShell.h"
#include "RecordingLog.h"
#include "SettingsFile.h"
#include "ShellFakes.h"
#include "TempWorkDir.h"
#include "TrayPresentation.h"

namespace vigilon::test {
namespace {

using app::StartupOutcome;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class MonitorShellTest : public ::testing::Test {
protected:
    MonitorShellTest() {
        MonitorSettings& settings = stored;
        settings.targetAddress = "target.example";
        settings.controlAddress = "control.example";
        settings.pingFrequency = 45;
        settings.emailEnabled = 0;
        settings.logEnabled = 1;
    }

    void StoreSettings() {
        FakePrompt quiet;
        RecordingLog unused;
        ASSERT_TRUE(SaveSettings(kSettingsFileName, stored, quiet, unused));
    }
    const MonitorSettings& settings() { return engine.Settings(); }
    // What an edit would leave in the record: the engine's own verb.
    void Edited(const std::function<void(MonitorSettings&)>& change) {
        MonitorSettings edited = engine.Settings();
        change(edited);
        engine.ApplyEditedSettings(edited);
    }

    TempWorkDir dir;
    MonitorSettings stored;
    Journal journal;
    FakeTimers timers;
    JournalDisplay display{journal};
    FakeNetwork network;
    InlineWork work;
    FakeAlerts alerts;
    FakeClock clock;
    FakePause pause;
    FakeLauncher launcher;
    JournalPrompt prompt{journal};
    PromptProblems problems{prompt};
    EventLog eventLog{"Vigilon.log", problems, launcher, clock};
    MonitorEngine engine{
        {timers, display, network, work, alerts, eventLog, clock, pause, problems}};
    FakeWindow window{journal};
    FakeEditing editing{journal};
    FakeTrayBackend tray{journal};
    app::MonitorShell shell{
        {engine, display, window, prompt, problems, editing, eventLog, window, window, tray}};
};

TEST_F(MonitorShellTest, StartWithASettingsFileShowsTrayAndChecksThenMonitors) {
    StoreSettings();
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Monitoring);

    EXPECT_THAT(journal, ElementsAre("icmp check", "refresh", "tray add", "menu checks", "start",
                                     "refresh"));
    EXPECT_EQ(settings(), stored);
    EXPECT_TRUE(engine.Run().running);
    ASSERT_EQ(tray.calls.size(), 1u);
    const app::NotifyIconRecord& added = tray.calls[0].record;
    EXPECT_EQ(added.owner, &shell);
    EXPECT_EQ(std::tie(added.id, added.callbackMessage, added.iconId, added.tip),
              std::make_tuple(144u, 1034u, 142, std::string("Vigilon - Idle")));
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST_F(MonitorShellTest, FirstRunEditsTheSettingsBeforeAnythingIsShown) {
    editing.apply = [&] { Edited([](MonitorSettings& s) { s.targetAddress = "first.example"; }); };
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Monitoring);
    EXPECT_THAT(journal, ElementsAre("icmp check", "edit settings", "menu checks", "refresh",
                                     "refresh", "tray add", "menu checks", "start", "refresh"));
    EXPECT_THAT(LogMessages().back(), HasSubstr("aimed at: first.example"));
}

TEST_F(MonitorShellTest, FirstRunCancelledClosesWithoutTheExitSequence) {
    editing.outcome = EditOutcome::EndProgram;
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Ended);
    EXPECT_THAT(journal, ElementsAre("icmp check", "edit settings", "end"));
    EXPECT_FALSE(std::filesystem::exists(kSettingsFileName));
    EXPECT_FALSE(std::filesystem::exists("Vigilon.log"));
    EXPECT_FALSE(shell.TrayIconShown());
}

TEST_F(MonitorShellTest, UnusableSettingsStopStartUpBeforeRefreshTrayChecksAndMonitoring) {
    // A first-run edit whose save failed.
    editing.outcome = EditOutcome::SaveFailed;
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Stopped);
    EXPECT_THAT(journal, ElementsAre("icmp check", "edit settings"));

    // A damaged file: the user is told, nothing else happens.
    journal.clear();
    StoreSettings();
    std::filesystem::resize_file(kSettingsFileName, 20);
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Stopped);
    EXPECT_THAT(journal, ElementsAre("icmp check", "message"));
    EXPECT_EQ(prompt.boxes.back().text, kEndOfFileMessage);

    EXPECT_FALSE(engine.Run().running);
    EXPECT_TRUE(timers.armed.empty());
    EXPECT_FALSE(shell.TrayIconShown());
    EXPECT_EQ(display.refreshes, 0);
}

TEST_F(MonitorShellTest, MissingIcmpPrivilegesAreNamedOnceAndStartUpGoesOn) {
    window.icmpAvailable = false;
    StoreSettings();
    EXPECT_EQ(shell.InitMainWindow(), StartupOutcome::Monitoring);
    EXPECT_THAT(journal, ElementsAre("icmp check", "message", "refresh", "tray add", "menu checks",
                                     "start", "refresh"));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_THAT(prompt.boxes[0].text, HasSubstr("setcap cap_net_raw+ep /"));
    EXPECT_THAT(prompt.boxes[0].text,
                HasSubstr("sysctl -w net.ipv4.ping_group_range=\"0 2147483647\""));
    EXPECT_EQ(prompt.boxes[0].caption, "Vigilon");
}

TEST_F(MonitorShellTest, EveryCommandIdentifierRunsItsRow) {
    StoreSettings();
    ASSERT_EQ(shell.InitMainWindow(), StartupOutcome::Monitoring);
    const auto ran = [&](int id) {
        journal.clear();
        EXPECT_TRUE(shell.RunCommand(id)) << id;
        return journal;
    };
    for (int id :
         {app::ID_TOGGLE_BUTTON, app::ID_FILE_START, app::ID_FILE_STOP, app::ID_TRAY_START_STOP}) {
        const bool wasRunning = engine.Run().running;
        ran(id);
        EXPECT_NE(engine.Run().running, wasRunning) << id;
    }
    for (int id : {app::ID_SETTINGS_BUTTON, app::ID_OPTIONS_SETTINGS, app::ID_TRAY_SETTINGS})
        EXPECT_THAT(ran(id), ElementsAre("edit settings")) << id;
    for (int id : {app::ID_OPTIONS_VIEW_LOG, app::ID_TRAY_VIEW_LOG})
        ran(id);
    EXPECT_EQ(launcher.opened.size(), 2u);
    for (int id : {app::ID_TOOLS_SIMPLE_PING, app::ID_TRAY_SIMPLE_PING})
        EXPECT_THAT(ran(id), ElementsAre("simple ping")) << id;
    for (int id : {app::ID_HELP_CONTENTS, app::ID_TRAY_HELP})
        EXPECT_THAT(ran(id), ElementsAre("help")) << id;
    for (int id : {app::ID_HELP_ABOUT, app::ID_TRAY_ABOUT, app::ID_ABOUT_SYSMENU})
        EXPECT_THAT(ran(id), ElementsAre("about")) << id;
    EXPECT_THAT(ran(app::ID_TRAY_OPEN), ElementsAre("show normal", "show normal"));
    EXPECT_THAT(ran(app::ID_OPTIONS_LOG), ElementsAre("menu checks"));
    EXPECT_EQ(settings().logEnabled, 0);
    EXPECT_THAT(ran(app::ID_OPTIONS_EMAIL),
                ElementsAre("message", "edit settings for e-mail", "menu checks"));
    EXPECT_THAT(ran(app::ID_TRAY_EXIT), ElementsAre("end"));
    EXPECT_THAT(ran(app::ID_FILE_EXIT), ElementsAre()) << "the exit runs once";
    EXPECT_FALSE(shell.RunCommand(1047));
}

TEST_F(MonitorShellTest, ExitChosenInsideTheSettingsDialogClosesItAndRunsAfterTheEdit) {
    StoreSettings();
    ASSERT_EQ(shell.InitMainWindow(), StartupOutcome::Monitoring);
    journal.clear();
    editing.apply = [&] {
        EXPECT_FALSE(shell.RunExitSequence());  // the tray menu's Exit, inside the dialog's run
        EXPECT_THAT(LogMessages(), Not(Contains(app::kExitLine)));
        Edited([](MonitorSettings& s) {
            s.mailTo = "typed@example.org";
        });  // the edit applies as its dialog closes
    };
    shell.RunCommand(app::ID_TRAY_SETTINGS);
    EXPECT_THAT(journal,
                ElementsAre("edit settings", "close edit", "menu checks", "refresh", "end"));
    EXPECT_EQ(LogMessages().back(), app::kExitLine);
    MonitorSettings saved;
    ASSERT_EQ(LoadSettings(kSettingsFileName, saved, prompt), LoadResult::Loaded);
    EXPECT_EQ(saved.mailTo, "typed@example.org");

    // An edit that ends the program ends it without the exit sequence.
    journal.clear();
    editing.outcome = EditOutcome::EndProgram;
    editing.apply = [&] { shell.RunCommand(app::ID_FILE_EXIT); };
    shell.RunCommand(app::ID_SETTINGS_BUTTON);
    EXPECT_THAT(journal, ElementsAre("edit settings", "close edit", "end"));
    const std::vector<std::string> log = LogMessages();
    EXPECT_EQ(std::count(log.begin(), log.end(), app::kExitLine), 1);
}

// The edit decides whether e-mail ends up on (SettingsEditor); the shell
// asks for it only when a field it needs is missing.
TEST_F(MonitorShellTest, EnablingEmailAsksForEachMissingFieldButNotTheFallbackServer) {
    const auto enable = [&](auto change) {
        MonitorSettings s = settings();
        s.emailEnabled = 0;
        s.mailTo = "ops@example.org";
        s.smtpServer1 = "smtp.example.org";
        s.mailFrom = "vigilon@example.org";
        s.smtpServer2.clear();
        change(s);
        engine.AdoptSettings(s);
        journal.clear();
        prompt.boxes.clear();
        shell.ToggleEmail();
    };
    enable([](MonitorSettings&) {});
    EXPECT_THAT(journal, ElementsAre("menu checks"));
    EXPECT_EQ(settings().emailEnabled, 1);
    EXPECT_TRUE(display.emailChecked);

    for (std::string MonitorSettings::*field :
         {&MonitorSettings::mailTo, &MonitorSettings::smtpServer1, &MonitorSettings::mailFrom}) {
        enable([field](MonitorSettings& s) { (s.*field).clear(); });
        EXPECT_THAT(journal, ElementsAre("message", "edit settings for e-mail", "menu checks"));
        EXPECT_EQ(prompt.boxes[0].text, "Please privide information for your Email settings.");
        EXPECT_EQ(prompt.boxes[0].caption, "Vigilon");
        EXPECT_EQ(settings().emailEnabled, 0) << "an edit that applied nothing leaves it off";
        EXPECT_FALSE(display.emailChecked);
    }

    engine.ToggleEmail();
    journal.clear();
    shell.ToggleEmail();
    EXPECT_EQ(settings().emailEnabled, 0);
    EXPECT_FALSE(display.emailChecked);
    EXPECT_THAT(journal, ElementsAre("menu checks"));
}

TEST_F(MonitorShellTest, TrayStatesPickIconThenTooltip) {
    shell.CreateTrayIcon();
    shell.UpdateTrayIcon(TrayState::TargetOnline);
    shell.UpdateTrayIcon(TrayState::TargetOffline);
    shell.UpdateTrayIcon(TrayState::Idle);
    std::vector<std::string> changes;
    for (const auto& call : tray.calls)
        changes.push_back(call.record.flags == app::NIF_TIP ? call.record.tip
                                                            : std::to_string(call.record.iconId));
    EXPECT_THAT(changes, ElementsAre("142", "141", "Vigilon - Target Online", "143",
                                     "Vigilon - Target Offline", "142", "Vigilon - Idle"));
}

TEST_F(MonitorShellTest, WithdrawsIntoTheTrayOnlyWhileAnIconIsInAShownTray) {
    const auto hideBoth = [&] {
        journal.clear();
        shell.OnMinimised();
        shell.HideWindow();
        return journal;
    };
    // No icon yet (as after a start-up that stopped early): minimise normally.
    EXPECT_THAT(hideBoth(), ElementsAre("iconify"));

    shell.CreateTrayIcon();
    EXPECT_THAT(hideBoth(), ElementsAre("withdraw", "withdraw"));

    tray.trayShown = false;  // the desktop has no tray to show it
    EXPECT_THAT(hideBoth(), ElementsAre("iconify"));
}

TEST_F(MonitorShellTest, OnlyTheTrayCallbackMessageReachesTheIcon) {
    shell.CreateTrayIcon();
    journal.clear();
    EXPECT_EQ(shell.OnTrayCallback(1035, 144, app::TRAY_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(shell.OnTrayCallback(1034, 144, app::TRAY_LBUTTONDBLCLK), 1);
    EXPECT_THAT(journal, ::testing::Contains("show normal"));
}

}  // namespace
}  // namespace vigilon::test
