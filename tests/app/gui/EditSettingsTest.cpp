// The settings edit through the real dialog: a first start without a
// settings file, and edits while monitoring runs, with the real settings
// file and event log in a scratch directory.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <sstream>

#include "CSettingsDlg.h"
#include "DialogIds.h"
#include "DialogTesting.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "LogLine.h"
#include "SettingsEditor.h"
#include "SettingsFile.h"
#include "SettingsFileSaver.h"
#include "StoreTestDir.h"
#include "WxSettingsDialogs.h"
#include "WxUserPrompt.h"

namespace vigilon::test {
namespace {

using namespace app;
using namespace std::chrono_literals;

class EditSettingsTest : public StoreTestDir {
protected:
    // Runs one edit; user acts inside the dialog's modal run.
    EditOutcome Edit(std::function<void(CSettingsDlg&)> user) {
        OnDialogOpen<CSettingsDlg> watcher([&](CSettingsDlg& dialog) {
            dialog.CallAfter([&dialog, user] {
                UserInput::Settle();
                user(dialog);
                EXPECT_TRUE(PumpUntil([&] { return !dialog.IsModal(); }, 3s)) << "left open";
                if (dialog.IsModal()) dialog.EndModal(wxID_ABORT);
            });
        });
        return editor.EditSettings();
    }
    static wxString Text(CSettingsDlg& dialog, int id) {
        return wxDynamicCast(dialog.FindWindow(id), wxTextCtrl)->GetValue();
    }
    static bool Checked(CSettingsDlg& dialog, int id) {
        return wxDynamicCast(dialog.FindWindow(id), wxCheckBox)->GetValue();
    }
    std::vector<std::string> LogMessages() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadText(kLogFileName));
        for (std::string line; std::getline(in, line);) lines.push_back(line.substr(18, line.size() - 19));
        return lines;
    }

    WxUserPrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
    EventLog eventLog{kLogFileName, prompt, launcher, clock};
    FakeTimers timers;
    FakeDisplay display;
    FakeNetwork network;
    FakeAlerts alerts;
    FakePause pause;
    MonitorEngine engine{{timers, display, network, alerts, eventLog, clock, pause}};
    WxSettingsDialogs dialogs{SettingsDialogServices{prompt, eventLog, network}};
    SettingsFileSaver saver{kSettingsFileName, prompt};
    SettingsEditor editor{engine, dialogs, saver};
    UserInput user;
};

TEST_F(EditSettingsTest, FirstRunShowsFirstRunValuesAndCancelEndsWithoutASettingsFile) {
    const EditOutcome outcome = Edit([&](CSettingsDlg& dialog) {
        EXPECT_EQ(Text(dialog, IDC_TARGET), "");
        EXPECT_EQ(Text(dialog, IDC_CONTROL), kDefaultControlHost);
        EXPECT_EQ(Text(dialog, IDC_FREQUENCY), "30");
        EXPECT_EQ(Text(dialog, IDC_TIMEOUTS), "5");
        EXPECT_EQ(Text(dialog, IDC_MAIL_TO), "");
        EXPECT_TRUE(Checked(dialog, IDC_ENABLE_EMAIL));
        EXPECT_TRUE(Checked(dialog, IDC_ENABLE_LOG));
        EXPECT_FALSE(Checked(dialog, IDC_AUTO_MINIMIZE));
        EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(IDC_TARGET));
        user.Click(dialog.FindWindow(IDC_CANCEL));
    });
    EXPECT_EQ(outcome, EditOutcome::EndProgram);
    EXPECT_FALSE(std::filesystem::exists(kSettingsFileName));
    EXPECT_FALSE(std::filesystem::exists(kLogFileName));
}

TEST_F(EditSettingsTest, FirstRunLeftWithEscapeAppliesAndSavesTheEmptyTarget) {
    const EditOutcome outcome = Edit([&](CSettingsDlg&) { user.Press(WXK_ESCAPE); });
    EXPECT_EQ(outcome, EditOutcome::Applied);
    MonitorSettings stored;
    stored.pingFrequency = 0;
    ASSERT_EQ(LoadSettings(kSettingsFileName, stored, prompt), LoadResult::Loaded);
    EXPECT_EQ(stored.targetAddress, "");
    EXPECT_EQ(stored.controlAddress, kDefaultControlHost);
    EXPECT_EQ(stored.pingFrequency, 30);
    EXPECT_EQ(engine.Settings(), stored);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"SAVED SETTINGS"});
}

TEST_F(EditSettingsTest, EditsWhileRunningKeepOrResetTheRun) {
    MonitorSettings& record = engine.Settings();
    record.targetAddress = "target.example";
    record.controlAddress = "control.example";
    record.emailEnabled = 0;
    network.addresses["target.example"] = "192.0.2.7";
    engine.ToggleMonitoring();
    for (int cycle = 0; cycle < 3; ++cycle) engine.OnTimer(TIMER_PING);
    clock.now += 95;
    engine.OnTimer(TIMER_CLOCK);
    const std::size_t linesBefore = LogMessages().size();

    // Only the frequency: counters and running time go on, the period restarts.
    EXPECT_EQ(Edit([&](CSettingsDlg& dialog) {
                  user.Retype(dialog.FindWindow(IDC_FREQUENCY), "60");
                  user.Press(WXK_RETURN);
              }),
              EditOutcome::Applied);
    EXPECT_EQ(record.pingFrequency, 60);
    EXPECT_EQ(engine.Run().pingNumber, 3);
    EXPECT_EQ(engine.Run().timeRunningText, "Days: 0     Hours: 00:01:35");
    EXPECT_EQ(timers.Period(TIMER_PING), 60000u);
    EXPECT_EQ(engine.Run().countdown, 60);
    std::vector<std::string> lines = LogMessages();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + linesBefore, lines.end()),
              std::vector<std::string>{"SAVED SETTINGS"});

    // A new target: the run starts afresh, announced before the save.
    clock.now += 10;
    EXPECT_EQ(Edit([&](CSettingsDlg& dialog) {
                  user.Retype(dialog.FindWindow(IDC_TARGET), "other.example");
                  user.Click(dialog.FindWindow(IDC_DONE));
              }),
              EditOutcome::Applied);
    EXPECT_EQ(engine.Run().pingNumber, 0);
    EXPECT_EQ(engine.Run().runStart, clock.now);
    EXPECT_TRUE(engine.Run().running);
    lines = LogMessages();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2],
              "***** SETTINGS UPDATED, Vigilon now aimed at: other.example *****");
    EXPECT_EQ(lines.back(), "SAVED SETTINGS");
    MonitorSettings stored;
    ASSERT_EQ(LoadSettings(kSettingsFileName, stored, prompt), LoadResult::Loaded);
    EXPECT_EQ(stored.targetAddress, "other.example");
    EXPECT_EQ(stored.pingFrequency, 60);
}

}  // namespace
}  // namespace vigilon::test
