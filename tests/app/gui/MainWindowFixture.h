#pragma once

// Runs the real program's window on the tests' private display, each test
// in a temporary directory of its own, with message boxes answered through
// wxTEST_DIALOG and any other modal dialog reported as a failure.

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "FakeLauncher.h"
#include "FakePrompt.h"
#include "GuiSession.h"
#include "MessageBox.h"
#include "RecordingLog.h"
#include "SettingsFile.h"
#include "ShellFakes.h"
#include "TempWorkDir.h"
#include "VigilonProgram.h"
#include "WxCommandIds.h"
#include "XWindowState.h"

namespace vigilon::test {

using namespace std::chrono_literals;

// A message box with the given text (or one containing it), answered with answer.
class ExpectMessage : public wxExpectModalBase<app::MessageBox, ExpectMessage> {
public:
    explicit ExpectMessage(std::string text, int answer = wxID_OK, std::string caption = "Vigilon")
        : text_(std::move(text)), answer_(answer), caption_(std::move(caption)) {}
    ExpectMessage Containing() const {
        ExpectMessage copy(*this);
        copy.partial_ = true;
        return copy;
    }

protected:
    int OnInvoked(app::MessageBox* box) const override {
        const std::string& shown = box->Message();
        if (partial_)
            EXPECT_NE(shown.find(text_), std::string::npos) << shown;
        else
            EXPECT_EQ(shown, text_);
        EXPECT_EQ(box->GetTitle().utf8_string(), caption_);
        return answer_;
    }
    wxString GetDefaultDescription() const override { return "message box \"" + text_ + "\""; }

private:
    std::string text_;
    int answer_;
    std::string caption_;
    bool partial_ = false;
};

// Any modal dialog that no wxTEST_DIALOG expected fails the test and is
// dismissed, so that a test never hangs on a box nobody answers.
class UnexpectedDialogs : public wxModalDialogHook {
public:
    UnexpectedDialogs() { Register(); }
    ~UnexpectedDialogs() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        std::string what = dialog->GetTitle().utf8_string();
        if (auto* box = dynamic_cast<app::MessageBox*>(dialog)) what += ": " + box->Message();
        ADD_FAILURE() << "unexpected dialog " << what;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!app::SystemIcmpCheck().CanOpenIcmpSocket())
            GTEST_SKIP() << "this user may not open an ICMP socket";
        ASSERT_FALSE(dir.path.empty());
        settings.targetAddress = "127.0.0.1";
        settings.controlAddress = "127.0.0.1";
        settings.pingFrequency = 40;
        settings.emailEnabled = 0;
        settings.logEnabled = 1;
    }
    void TearDown() override {
        program.reset();
        PumpFor(100ms);  // the window's deferred deletion
    }

    void StoreSettings() {
        FakePrompt quiet;
        RecordingLog unused;
        ASSERT_TRUE(SaveSettings(kSettingsFileName, settings, quiet, unused));
    }
    // Builds the program and runs its start-up; the window is then shown
    // unless start-up ended it. Message boxes of start-up need wxTEST_DIALOG.
    app::StartupOutcome Start() {
        program = std::make_unique<app::VigilonProgram>(
            app::ProgramOptions{&launcher, &editing, {}, {}, VIGILON_BUILD_DIR});
        return program->Start();
    }
    // Shown, and holding the keyboard focus, so that keys reach it.
    void WaitUntilActive() {
        ASSERT_TRUE(PumpUntil([&] { return Window().IsShown() && Window().IsActive(); }))
            << "the window did not get the focus";
    }

    app::CMonitorDlg& Window() { return program->Window(); }
    MonitorEngine& Engine() { return program->Engine(); }
    bool MenuEnabled(int commandId) {
        return Window().GetMenuBar()->IsEnabled(app::ToWxId(commandId));
    }
    bool MenuChecked(int commandId) {
        return Window().GetMenuBar()->IsChecked(app::ToWxId(commandId));
    }
    // A menu, button or tray menu command as the window receives it.
    void Choose(int commandId) {
        wxCommandEvent event(wxEVT_MENU, app::ToWxId(commandId));
        event.SetEventObject(&Window());
        Window().ProcessWindowEvent(event);
    }
    std::string Text(int controlId) {
        wxWindow* control = Window().FindWindow(controlId);
        if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) return edit->GetValue().utf8_string();
        if (auto* label = dynamic_cast<wxStaticText*>(control))
            return label->GetLabelText().utf8_string();
        return control != nullptr ? control->GetLabel().utf8_string()
                                  : "<no control " + std::to_string(controlId) + ">";
    }
    bool Visible(int controlId) {
        wxWindow* control = Window().FindWindow(controlId);
        return control != nullptr && control->IsShown();
    }
    std::string Caption() { return Window().GetTitle().utf8_string(); }
    // The texts of the boxes that stand beside the window, waiting for nobody.
    static std::vector<std::string> ProblemBoxTexts() {
        std::vector<std::string> texts;
        for (wxWindow* top : wxTopLevelWindows) {
            auto* box = dynamic_cast<app::MessageBox*>(top);
            if (box != nullptr && !box->IsModal() && box->IsShown())
                texts.push_back(box->Message());
        }
        return texts;
    }
    // What the window manager does with the window, not what the toolkit believes.
    bool Becomes(XWindowState state) {
        return PumpUntil([&] { return StateOfWindowTitled(Caption()) == state; });
    }

    TempWorkDir dir;
    MonitorSettings settings;
    Journal journal;
    FakeEditing editing{journal};
    FakeLauncher launcher;
    UnexpectedDialogs unexpected;
    wxUIActionSimulator input;
    std::unique_ptr<app::VigilonProgram> program;
};

}  // namespace vigilon::test
