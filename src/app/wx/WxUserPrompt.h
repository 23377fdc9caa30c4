#pragma once

#include <wx/window.h>

#include "UserPrompt.h"

namespace vigilon::app {

// The program's modal message boxes (MessageBox), which tests answer
// through wxTEST_DIALOG. They belong to the main window while it is on screen.
class WxUserPrompt : public UserPrompt {
public:
    explicit WxUserPrompt(wxWindow* owner = nullptr) : owner_(owner) {}

    void ShowMessage(const std::string& text, MessageIcon icon,
                     const std::string& caption) override;
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) override;

private:
    wxWindow* Owner() const;

    wxWindow* owner_;
};

}  // namespace vigilon::app
