#pragma once

#include <string>

#include "SelfTestInputs.h"

namespace vigilon::app {

enum class DialogResult { Ok, Cancel };

// The settings dialog's window as its form sees it: controls by identifier.
// The wx dialog implements it; tests fake it.
class SettingsFormView {
public:
    virtual ~SettingsFormView() = default;
    virtual std::string GetText(int controlId) const = 0;
    virtual void SetText(int controlId, const std::string& text) = 0;
    virtual bool IsChecked(int controlId) const = 0;
    virtual void SetChecked(int controlId, bool checked) = 0;
    virtual void EnableControl(int controlId, bool enabled) = 0;
    // Moves the keyboard focus into a box and selects all its text.
    virtual void FocusAndSelectAll(int controlId) = 0;
    // Ends the dialog's modal run.
    virtual void CloseDialog(DialogResult result) = 0;
    // Runs the self-test dialog modally over this one.
    virtual void RunSelfTest(const SelfTestInputs& inputs) = 0;
};

}  // namespace vigilon::app
