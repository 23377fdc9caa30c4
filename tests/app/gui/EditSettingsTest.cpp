// The settings edit through the real dialog at a first start without a
// settings file, with the real settings file and event log in a scratch
// directory. (How an edit changes a running monitor is tested with the
// engine.)
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <sstream>

#include "CSettingsDlg.h"
#include "CTestSettingsDlg.h"
#include "DialogIds.h"
#include "DialogTesting.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "Gate.h"
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
                EXPECT_TRUE(WaitUntilActive(dialog));
                user(dialog);
                EXPECT_TRUE(PumpUntil([&] { return !dialog.IsModal(); }, 3s)) << "left open";
                if (dialog.IsModal()) dialog.EndModal(wxID_ABORT);
            });
        });
        return editor.EditSettings();
    }
    static wxString Text(CSettingsDlg& dialog, int id) {
        return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id))->GetValue();
    }
    static bool Checked(CSettingsDlg& dialog, int id) {
        return dynamic_cast<wxCheckBox*>(dialog.FindWindow(id))->GetValue();
    }
    std::vector<std::string> LogMessages() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadText(kLogFileName));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(18, line.size() - 19));
        return lines;
    }

    WxUserPrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
    FakeProblems problems;
    EventLog eventLog{kLogFileName, problems, launcher, clock};
    FakeTimers timers;
    FakeDisplay display;
    FakeNetwork network;
    InlineWork work;
    FakeAlerts alerts;
    FakePause pause;
    MonitorEngine engine{
        {timers, display, network, work, alerts, eventLog, clock, pause, problems}};
    WxSettingsDialogs dialogs{SettingsDialogServices{prompt, eventLog, network}};
    SettingsFileSaver saver{kSettingsFileName, problems};
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
    ASSERT_EQ(LoadSettings(kSettingsFileName, stored, problems), LoadResult::Loaded);
    EXPECT_EQ(stored.targetAddress, "");
    EXPECT_EQ(stored.controlAddress, kDefaultControlHost);
    EXPECT_EQ(stored.pingFrequency, 30);
    EXPECT_EQ(engine.Settings(), stored);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"SAVED SETTINGS"});
}

// What the tray menu's Exit asks of an open edit while the self-test runs:
// the run goes to its end, both dialogs close as Escape closes them, and
// what the Test Settings check read is applied and saved.
TEST_F(EditSettingsTest, ClosingTheOpenEditLetsTheSelfTestFinishThenAppliesAsEscape) {
    MonitorSettings record = engine.Settings();
    record.targetAddress = "target.example";
    record.controlAddress = "control.example";
    record.emailEnabled = 0;
    engine.AdoptSettings(record);
    network.addresses["typed.example"] = "192.0.2.9";
    network.addresses["control.example"] = "198.51.100.1";
    Gate targetTest;
    network.duringNextPing = [&] { targetTest.Arrive(); };  // the run held on its worker
    bool closedDuringRun = false;
    OnDialogOpen<CTestSettingsDlg> watcher([&](CTestSettingsDlg& selfTest) {
        selfTest.CallAfter([&] {
            ASSERT_TRUE(PumpUntil([&] { return targetTest.Arrived(); })) << "no run";
            editor.CloseOpenEdit();
            PumpFor(100ms);
            EXPECT_TRUE(selfTest.IsModal()) << "the run is cut short";
            auto* settingsDialog = dynamic_cast<CSettingsDlg*>(selfTest.GetParent());
            ASSERT_NE(settingsDialog, nullptr);
            EXPECT_TRUE(settingsDialog->IsModal()) << "closed under the self-test";
            closedDuringRun = true;
            targetTest.Open();
        });
    });

    const EditOutcome outcome = Edit([&](CSettingsDlg& dialog) {
        user.Retype(dialog.FindWindow(IDC_TARGET), "typed.example");
        user.Click(dialog.FindWindow(IDC_TEST_SETTINGS));
    });

    EXPECT_TRUE(closedDuringRun);
    EXPECT_EQ(outcome, EditOutcome::Applied);
    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{
                  "**************** Testing Settings ****************", "Target: PASS",
                  "Control: PASS", "Ping 1st SMTP: n/a", "Ping 2nd SMTP: n/a",
                  "Send Email 1st SMTP: n/a", "Send Email 2nd SMTP: n/a",
                  "***** SETTINGS UPDATED, Vigilon now aimed at: typed.example *****",
                  "SAVED SETTINGS"}));
    EXPECT_EQ(engine.Settings().targetAddress, "typed.example");
}

}  // namespace
}  // namespace vigilon::test
