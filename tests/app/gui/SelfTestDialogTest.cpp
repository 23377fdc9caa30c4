// The self-test dialog opened from the settings dialog's Test Settings
// button: the waiting state, the rows painted one by one while the later
// tests still run, and the end.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CSettingsDlg.h"
#include "CTestSettingsDlg.h"
#include "DialogIds.h"
#include "DialogTemplate.h"
#include "DialogTesting.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FixedSizeCheck.h"
#include "Gate.h"
#include "LogLine.h"
#include "StoreTestDir.h"
#include "WxUserPrompt.h"

namespace vigilon::test {
namespace {

using namespace app;
using namespace std::chrono_literals;

int DarkPixelsOnScreen(wxWindow* window) {
    const wxRect r = window->GetScreenRect().Deflate(3);  // inside the sunken border
    return CountDarkPixels(r.x, r.y, r.width, r.height);
}

std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::ifstream in(kLogFileName);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(18, line.size() - 19));
    return lines;
}

class SelfTestDialogTest : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        fields.targetAddress = "target.example";
        fields.controlAddress = "control.example";
        fields.pingFrequency = 30;
        fields.timeoutsBeforeEmail = 5;
        fields.emailEnabled = 0;
        fields.logEnabled = 0;  // the self-test logs all the same
        network.addresses["target.example"] = "192.0.2.7";
        network.addresses["control.example"] = "198.51.100.1";
        settings.SetFields(fields);
    }
    wxString Row(CTestSettingsDlg& dialog, int id) {
        return GetResultBoxText(dialog.FindWindow(id));
    }

    MonitorSettings fields;
    WxUserPrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
    FakeProblems problems;
    EventLog eventLog{kLogFileName, problems, launcher, clock};
    FakeNetwork network;
    CSettingsDlg settings{nullptr, SettingsDialogServices{prompt, eventLog, network}};
    UserInput user;
};

// The tests run on a worker: while the control's test is held there, the
// dialog answers, shows the target's row and still waits with Done.
TEST_F(SelfTestDialogTest, RowsArePaintedOneByOneWhileTheWindowAnswersAndDoneWaitsForTheLast) {
    Gate controlTest;
    network.duringNextPing = [&] {  // the target's test, on the worker
        network.duringNextPing = [&] { controlTest.Arrive(); };
    };
    network.Script("198.51.100.1", {"timed out"});
    bool opened = false, waitingChecked = false, heldChecked = false;

    OnDialogOpen<CTestSettingsDlg> watcher([&](CTestSettingsDlg& dialog) {
        opened = true;
        dialog.CallAfter([&] {
            EXPECT_EQ(dialog.GetTitle(), "Testing Your Settings");
            EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel(), "&Done");
            EXPECT_EQ(dialog.FindWindow(IDC_MAIL1_ROW_LABEL)->GetLabel(), "Email SMTP 1:");
            EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled()) << "waiting for the timer";
            EXPECT_TRUE(network.pings.empty());
            waitingChecked = true;
            EXPECT_TRUE(WaitUntilActive(dialog));

            ASSERT_TRUE(PumpUntil(
                [&] { return controlTest.Arrived() && Row(dialog, IDC_TARGET_RESULT) == "PASS"; }));
            PumpFor(200ms);  // painted by the loop, which nothing holds
            EXPECT_EQ(wxWindow::GetCapture(), &dialog) << "the mouse is captured";
            EXPECT_TRUE(wxIsBusy());
            EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
            EXPECT_GT(DarkPixelsOnScreen(dialog.FindWindow(IDC_TARGET_RESULT)), 10)
                << "the first row shows while the second test runs";
            EXPECT_EQ(DarkPixelsOnScreen(dialog.FindWindow(IDC_CONTROL_RESULT)), 0);
            heldChecked = true;
            controlTest.Open();

            EXPECT_TRUE(PumpUntil([&] { return dialog.FindWindow(wxID_OK)->IsEnabled(); }, 5s));
            EXPECT_FALSE(wxIsBusy());
            EXPECT_EQ(wxWindow::GetCapture(), nullptr);
            for (auto [id, row] : {std::pair{IDC_TARGET_RESULT, "PASS"},
                                   {IDC_CONTROL_RESULT, "FAIL"},
                                   {IDC_SMTP1_PING_RESULT, "n/a"},
                                   {IDC_SMTP2_PING_RESULT, "n/a"},
                                   {IDC_SMTP1_MAIL_RESULT, "n/a"},
                                   {IDC_SMTP2_MAIL_RESULT, "n/a"}})
                EXPECT_EQ(Row(dialog, id), row) << id;
            user.Press(WXK_RETURN);
            EXPECT_TRUE(PumpUntil([&] { return !dialog.IsModal(); }, 2s));
        });
    });
    RunModal(settings, [&] {
        user.Click(settings.FindWindow(IDC_TEST_SETTINGS));
        EXPECT_TRUE(PumpUntil([&] { return heldChecked && settings.IsActive(); }, 10s));
        EXPECT_TRUE(settings.IsModal()) << "the settings dialog carries on";
        user.Press(WXK_ESCAPE);
    });
    EXPECT_TRUE(opened && waitingChecked && heldChecked);
    EXPECT_EQ(network.pings.size(), 2u);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "**************** Testing Settings ****************", "Target: PASS",
                              "Control: FAIL", "Ping 1st SMTP: n/a", "Ping 2nd SMTP: n/a",
                              "Send Email 1st SMTP: n/a", "Send Email 2nd SMTP: n/a"}));
}

TEST_F(SelfTestDialogTest, EscapeBeforeTheStartEndsItWithoutARunAndTheSizeIsFixed) {
    OnDialogOpen<CTestSettingsDlg> watcher([&](CTestSettingsDlg& dialog) {
        dialog.CallAfter([&] {
            EXPECT_TRUE(WaitUntilActive(dialog));
            ExpectFixedSize(dialog);
            user.Press(WXK_ESCAPE);
            EXPECT_TRUE(PumpUntil([&] { return !dialog.IsModal(); }, 2s));
        });
    });
    RunModal(settings, [&] {
        user.Click(settings.FindWindow(IDC_TEST_SETTINGS));
        PumpFor(800ms);  // past the moment the run would have started
        EXPECT_TRUE(settings.IsModal());
        user.Press(WXK_ESCAPE);
    });
    EXPECT_TRUE(network.pings.empty());
    EXPECT_TRUE(LogLines().empty());
}

}  // namespace
}  // namespace vigilon::test
