// The settings dialog on a real display, driven by keyboard and mouse, its
// message boxes answered through wxTEST_DIALOG.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "CSettingsDlg.h"
#include "DialogIds.h"
#include "DialogTesting.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FixedSizeCheck.h"
#include "LabelPlacement.h"
#include "LogLine.h"
#include "LogViewerFrame.h"
#include "StoreTestDir.h"
#include "WxUserPrompt.h"

namespace vigilon::test {
namespace {

using namespace app;
using namespace std::chrono_literals;

constexpr const char* kFrequencyRange = "Please enter an integer between 10 and 86400.";

class SettingsDialogTest : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        fields.targetAddress = "target.example";
        fields.controlAddress = "control.example";
        fields.mailFrom = "watch@example.org";
        fields.mailTo = "ops@example.org";
        fields.smtpServer1 = "smtp1.example";
        dialog = std::make_unique<CSettingsDlg>(nullptr, services);
    }
    // Opens the dialog with the fields and runs body inside its modal run.
    int Run(std::function<void()> body) {
        dialog->SetFields(fields);
        return RunModal(*dialog, [body] {
            UserInput::Settle();
            body();
        });
    }
    wxWindow* Control(int id) { return dialog->FindWindow(id); }
    wxString Text(int id) { return dynamic_cast<wxTextCtrl*>(Control(id))->GetValue(); }
    bool Checked(int id) { return dynamic_cast<wxCheckBox*>(Control(id))->GetValue(); }
    bool FocusIn(int id) {
        return PumpUntil([&] { return wxWindow::FindFocus() == Control(id); }, 2s);
    }
    // Ends the modal run by the keyboard, as a user leaving would.
    void PressEscape() {
        user.Press(WXK_ESCAPE);
        EXPECT_TRUE(PumpUntil([&] { return !dialog->IsModal(); }, 2s));
    }

    MonitorSettings fields;
    WxUserPrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
    FakeProblems problems;
    WxLogViewer ownViewer;
    EventLog eventLog{kLogFileName, problems, launcher, clock, &ownViewer};
    FakeNetwork network;
    SettingsDialogServices services{prompt, eventLog, network};
    std::unique_ptr<CSettingsDlg> dialog;
    UserInput user;
};

TEST_F(SettingsDialogTest, TemplateControlsTextsAndTabOrder) {
    EXPECT_EQ(dialog->GetTitle(), "Vigilon Settings");
    EXPECT_FALSE(dialog->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(dialog->HasFlag(wxSYSTEM_MENU));
    const std::pair<int, const char*> texts[] = {
        {IDC_ENABLE_EMAIL, "Enable Email"},
        {IDC_ENABLE_LOG, " &Enable Log"},
        {IDC_VIEW_LOG, "&View Log"},
        {IDC_CLEAR_LOG, "Clear &Log"},
        {IDC_TEST_SETTINGS, "&Test Settings"},
        {IDC_DONE, "&Done"},
        {IDC_CANCEL, "&Cancel"},
        {IDC_TO_LABEL, "To:"},
        {IDC_SMTP1_LABEL, "1st SMTP"},
        {IDC_SMTP2_LABEL, "2nd SMTP"},
        {IDC_TIMEOUTS_LABEL, "# of Time Outs before Email:"},
        {IDC_FROM_LABEL, "From:"},
        {IDC_AUTO_MINIMIZE, "Auto &Minimize to System Tray"},
    };
    for (const auto& [id, text] : texts) {
        ASSERT_NE(Control(id), nullptr) << id;
        EXPECT_EQ(Control(id)->GetLabel(), wxString::FromUTF8(text)) << id;
    }
    wxArrayString unnamed;
    for (wxWindow* child : dialog->GetChildren())
        if (child->GetId() < 1000) unnamed.push_back(child->GetLabel());
    EXPECT_EQ(wxJoin(unnamed, '|'),
              "Ping Settings|Email Notification|Target:|Control:|(seconds)|Ping &Frequency:|"
              "* Response times over 1000 ms are considered TIMED OUT pings.|"
              "* Ping Frequecy goes to 5 seconds when a Time Out is received.|Logging|"
              "* Separate Email Addresses with a ';' (semicolon) to have notifications sent to "
              "multiple recipients.|Notes");
    EXPECT_TRUE(dialog->GetDefaultItem() == Control(IDC_DONE));

    // Laid out in dialog units of the system font.
    EXPECT_EQ(dialog->GetClientSize(), dialog->ConvertDialogToPixels(wxSize(309, 210)));
    EXPECT_EQ(Control(IDC_MAIL_TO)->GetRect(),
              wxRect(dialog->ConvertDialogToPixels(wxPoint(190, 57)),
                     dialog->ConvertDialogToPixels(wxSize(104, 12))));

    Run([&] {
        EXPECT_TRUE(FocusIn(IDC_TARGET)) << "the first tab stop has the focus";
        for (int id :
             {IDC_CONTROL, IDC_FREQUENCY, IDC_ENABLE_EMAIL, IDC_TIMEOUTS, IDC_MAIL_TO,
              IDC_MAIL_FROM, IDC_SMTP1, IDC_SMTP2, IDC_ENABLE_LOG, IDC_VIEW_LOG, IDC_CLEAR_LOG,
              IDC_TEST_SETTINGS, IDC_DONE, IDC_CANCEL, IDC_AUTO_MINIMIZE, IDC_TARGET}) {
            user.Press(WXK_TAB);
            EXPECT_TRUE(FocusIn(id)) << "tab to " << id;
        }
        PressEscape();
    });
}

// Without a handler for text files, the program's own viewer comes up
// beside the modal dialog and answers the mouse there.
TEST_F(SettingsDialogTest, ViewLogWithoutAHandlerShowsTheOwnViewerUsableBesideTheDialog) {
    eventLog.Write("an old line");
    Run([&] {
        user.Click(Control(IDC_VIEW_LOG));
        launcher.FailWatched();
        LogViewerFrame* viewer = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            for (wxWindow* window : wxTopLevelWindows)
                if (auto* shown = dynamic_cast<LogViewerFrame*>(window);
                    shown != nullptr && shown->IsShown())
                    viewer = shown;
            return viewer != nullptr && viewer->IsShownOnScreen();
        })) << "no viewer";
        PumpFor(300ms);  // placed by the window manager
        EXPECT_TRUE(viewer->Text().GetValue().Contains("an old line"));
        wxWeakRef<LogViewerFrame> open(viewer);  // Close destroys it
        user.Click(viewer->FindWindow(wxID_CLOSE));
        EXPECT_TRUE(PumpUntil([&] { return !open || !open->IsShown(); }))
            << "Close did not reach the viewer";
        EXPECT_TRUE(dialog->IsModal());
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, LabelsSitInsideTheirGroupBoxesAndTheSizeIsFixed) {
    Run([&] {
        ExpectFixedSize(*dialog);
        const int margin = dialog->ConvertDialogToPixels(wxSize(4, 0)).x;
        EXPECT_THAT(MisplacedLabels(*dialog, margin), ::testing::IsEmpty());
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, DigitsOnlyBoxesRefuseTypedLettersButPastedTextIsChecked) {
    Run([&] {
        user.Retype(Control(IDC_FREQUENCY), "a4b2");
        EXPECT_EQ(Text(IDC_FREQUENCY), "42");
        user.Retype(Control(IDC_TIMEOUTS), "x7-");
        EXPECT_EQ(Text(IDC_TIMEOUTS), "7");

        ASSERT_TRUE(wxTheClipboard->Open());
        wxTheClipboard->SetData(new wxTextDataObject("abc"));
        wxTheClipboard->Close();
        user.Retype(Control(IDC_FREQUENCY), "");
        user.Press('V', wxMOD_CONTROL);
        ASSERT_TRUE(PumpUntil([&] { return Text(IDC_FREQUENCY) == "abc"; }, 2s));
        // Leaving the frequency box reads every box.
        wxTEST_DIALOG(user.Press(WXK_TAB), ExpectWarning("Please enter an integer."));
        EXPECT_TRUE(FocusIn(IDC_FREQUENCY));
        long from = 0, to = 0;
        dynamic_cast<wxTextCtrl*>(Control(IDC_FREQUENCY))->GetSelection(&from, &to);
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 3) << "the refused text is selected";
        EXPECT_EQ(dialog->Form().fields.pingFrequency, 42) << "as the box was last read";
        EXPECT_EQ(dialog->Form().fields.timeoutsBeforeEmail, 5) << "read after the refused box";
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, FrequencyOfFiveShowsTheRangeMessageTwiceOnDone) {
    const int result = Run([&] {
        user.Retype(Control(IDC_MAIL_FROM), "typed@example.org");
        user.Retype(Control(IDC_FREQUENCY), "5");
        wxTEST_DIALOG(user.Press(WXK_RETURN), ExpectWarning(kFrequencyRange),
                      ExpectWarning(kFrequencyRange));
        EXPECT_TRUE(dialog->IsModal()) << "the dialog stays open";
        EXPECT_EQ(Text(IDC_MAIL_FROM), "watch@example.org") << "read after the refused box: lost";
        EXPECT_TRUE(FocusIn(IDC_FREQUENCY));
        EXPECT_EQ(Text(IDC_FREQUENCY), "5");
        EXPECT_EQ(dialog->Form().fields.pingFrequency, 5);
        PressEscape();
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(dialog->Fields().pingFrequency, 5) << "Escape hands on what was read";
}

TEST_F(SettingsDialogTest, EmptySenderWithEmailOnBecomesVigilon) {
    const int result = Run([&] {
        user.Retype(Control(IDC_MAIL_FROM), "");
        user.Click(Control(IDC_DONE));
        EXPECT_EQ(Text(IDC_MAIL_FROM), "Vigilon");
        EXPECT_TRUE(PumpUntil([&] { return !dialog->IsModal(); }, 2s));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog->Fields().mailFrom, "Vigilon");
    EXPECT_FALSE(dialog->CancelledWithoutTarget());
}

TEST_F(SettingsDialogTest, MissingEntriesAreListedInOrder) {
    Run([&] {
        for (int id : {IDC_TARGET, IDC_CONTROL, IDC_MAIL_TO, IDC_SMTP1})
            user.Retype(Control(id), "");
        wxTEST_DIALOG(user.Click(Control(IDC_DONE)),
                      ExpectWarning("Please provide entries for the following:\n\n"
                                    "Target Address\nControl Address\nTo Email Address\n"
                                    "SMTP Server Address\n"));
        EXPECT_TRUE(dialog->IsModal());
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, EmptiedTimeOutsBoxPutsEnableEmailBack) {
    Run([&] {
        user.Retype(Control(IDC_TIMEOUTS), "");
        wxTEST_DIALOG(user.Click(Control(IDC_ENABLE_EMAIL)),
                      ExpectWarning("Please enter an integer."));
        EXPECT_TRUE(Checked(IDC_ENABLE_EMAIL));
        EXPECT_EQ(Text(IDC_TIMEOUTS), "5");
        EXPECT_TRUE(Control(IDC_MAIL_TO)->IsEnabled());
        EXPECT_TRUE(Control(IDC_TIMEOUTS_LABEL)->IsEnabled());

        // Accepted this time: the e-mail controls gray out.
        user.Click(Control(IDC_ENABLE_EMAIL));
        EXPECT_FALSE(Checked(IDC_ENABLE_EMAIL));
        EXPECT_FALSE(Control(IDC_MAIL_TO)->IsEnabled());
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, StoredFrequencyOutOfRangeShowsTheRangeMessageTwiceOnOpening) {
    fields.pingFrequency = 5;
    fields.logEnabled = 0;
    wxTEST_DIALOG(Run([&] {
                      EXPECT_TRUE(FocusIn(IDC_TARGET));
                      EXPECT_FALSE(Control(IDC_VIEW_LOG)->IsEnabled());
                      EXPECT_FALSE(Control(IDC_CLEAR_LOG)->IsEnabled());
                      PressEscape();
                  }),
                  ExpectWarning(kFrequencyRange), ExpectWarning(kFrequencyRange));
}

TEST_F(SettingsDialogTest, LeavingTheFrequencyBoxReadsEveryBoxBeforeCancel) {
    fields.targetAddress.clear();
    const int result = Run([&] {
        user.Retype(Control(IDC_TARGET), "typed.example");
        user.Click(Control(IDC_FREQUENCY));
        user.Press(WXK_TAB);  // leaving the frequency box reads every box
        user.Click(Control(IDC_CANCEL));
        EXPECT_TRUE(PumpUntil([&] { return !dialog->IsModal(); }, 2s));
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(dialog->Fields().targetAddress, "typed.example");
    EXPECT_FALSE(dialog->CancelledWithoutTarget());
}

// Real message boxes, closed by Enter as a user would: the box taking the
// focus from the frequency box must not bring a further box.
TEST_F(SettingsDialogTest, RealMessageBoxesDoNotMultiply) {
    class CountingPrompt : public UserPrompt {
    public:
        void ShowMessage(const std::string& text, MessageIcon icon,
                         const std::string& caption) override {
            // A third box would be one too many: count it, but do not show it.
            if (++shown > 2) return;
            wxTheApp->CallAfter([] {
                PumpFor(300ms);
                UserInput().Press(WXK_RETURN);
            });
            real.ShowMessage(text, icon, caption);
        }
        bool AskYesNo(const std::string&, MessageIcon, const std::string&) override {
            return false;
        }
        WxUserPrompt real;
        int shown = 0;
    } counting;
    dialog = std::make_unique<CSettingsDlg>(nullptr,
                                            SettingsDialogServices{counting, eventLog, network});
    Run([&] {
        user.Retype(Control(IDC_FREQUENCY), "5");
        user.Press(WXK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return counting.shown >= 2 && dialog->IsActive(); }, 5s));
        PumpFor(500ms);
        EXPECT_EQ(counting.shown, 2);
        EXPECT_TRUE(dialog->IsModal());
        PressEscape();
    });
}

TEST_F(SettingsDialogTest, LogButtonsViewAndClearTheLog) {
    eventLog.Write("an old line");
    Run([&] {
        user.Click(Control(IDC_VIEW_LOG));
        ASSERT_EQ(launcher.opened.size(), 1u);
        EXPECT_EQ(launcher.opened[0], kLogFileName);
        wxTEST_DIALOG(user.Click(Control(IDC_CLEAR_LOG)), AnswerMessageBox(wxID_YES));
        EXPECT_EQ(ReadText(kLogFileName), "");
        user.Click(Control(IDC_ENABLE_LOG));
        EXPECT_FALSE(Control(IDC_VIEW_LOG)->IsEnabled());
        EXPECT_FALSE(Control(IDC_CLEAR_LOG)->IsEnabled());
        PressEscape();
    });
    EXPECT_EQ(dialog->Fields().logEnabled, 0);
}

}  // namespace
}  // namespace vigilon::test
