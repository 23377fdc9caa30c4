#pragma once

// Driving the program's dialogs as a user would: real modal runs, input
// through the X server (XTest), and message boxes answered by wxTEST_DIALOG.

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/testing.h>
#include <wx/uiaction.h>

#include <chrono>
#include <functional>
#include <string>

#include "GuiSession.h"
#include "MessageBox.h"

namespace vigilon::test {

// wxTEST_DIALOG's hook, except that only message boxes are matched against
// the expectations: the dialogs under test run for real. A mismatch fails
// the running test.
class DialogTestingHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    int Enter(wxDialog* dialog) override {
        if (dynamic_cast<app::MessageBox*>(dialog) == nullptr) return wxID_NONE;
        return wxTestingModalHook::Enter(dialog);
    }
    void ReportFailure(const wxString& message) override { ADD_FAILURE() << message.utf8_string(); }
};

// A warning: a message box with exactly this text, captioned "Vigilon",
// with the exclamation icon; answered with OK.
class ExpectWarning : public wxExpectModalBase<app::MessageBox, ExpectWarning> {
public:
    explicit ExpectWarning(std::string text) : text_(std::move(text)) {}

protected:
    int OnInvoked(app::MessageBox* box) const override {
        EXPECT_EQ(box->Message(), text_);
        EXPECT_EQ(box->GetTitle().utf8_string(), "Vigilon");
        EXPECT_EQ(box->Icon(), MessageIcon::Exclamation) << text_;
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override {
        return "message box \"" + wxString::FromUTF8(text_) + "\"";
    }

private:
    std::string text_;
};

// Any message box, answered with answer (wxID_OK, wxID_YES, wxID_NO).
class AnswerMessageBox : public wxExpectModalBase<app::MessageBox, AnswerMessageBox> {
public:
    explicit AnswerMessageBox(int answer) : answer_(answer) {}

protected:
    int OnInvoked(app::MessageBox*) const override { return answer_; }

private:
    int answer_;
};

// Waits until the window manager has shown the dialog and given it the
// focus, so that input reaches it.
inline bool WaitUntilActive(wxDialog& dialog) {
    return PumpUntil([&] { return dialog.IsShownOnScreen() && dialog.IsActive(); },
                     std::chrono::seconds(10));
}

// Runs dialog modally with body inside its modal loop, once the dialog is
// active. A dialog the body left open is ended with wxID_ABORT.
inline int RunModal(wxDialog& dialog, std::function<void()> body) {
    dialog.CallAfter([&dialog, body] {
        EXPECT_TRUE(WaitUntilActive(dialog));
        body();
        if (dialog.IsModal()) dialog.EndModal(wxID_ABORT);
    });
    return dialog.ShowModal();
}

// Lets every dialog run for real and hands each dialog of type T to the
// test just before it shows, so that the test can act inside its modal run
// (with CallAfter).
template <class T>
class OnDialogOpen : public wxModalDialogHook {
public:
    explicit OnDialogOpen(std::function<void(T&)> action) : action_(std::move(action)) {
        Register();
    }
    ~OnDialogOpen() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        if (T* wanted = dynamic_cast<T*>(dialog)) action_(*wanted);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    std::function<void(T&)> action_;
};

// Keyboard and mouse through the X server, each step followed by the
// events it causes.
class UserInput {
public:
    void Type(const std::string& text) {
        simulator_.Text(text.c_str());
        Settle();
    }
    void Press(int key, int modifiers = wxMOD_NONE) {
        simulator_.Char(key, modifiers);
        Settle();
    }
    void Click(wxWindow* control) {
        const wxRect rect = control->GetScreenRect();
        simulator_.MouseMove(rect.GetLeft() + rect.GetWidth() / 2,
                             rect.GetTop() + rect.GetHeight() / 2);
        Settle();
        simulator_.MouseClick();
        Settle();
    }
    // Clicks into a box and replaces its whole text by typing.
    void Retype(wxWindow* box, const std::string& text) {
        Click(box);
        Press('A', wxMOD_CONTROL);
        Press(WXK_DELETE);
        if (!text.empty()) Type(text);
    }
    static void Settle() { PumpFor(std::chrono::milliseconds(60)); }

private:
    wxUIActionSimulator simulator_;
};

}  // namespace vigilon::test

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS vigilon::test::DialogTestingHook
