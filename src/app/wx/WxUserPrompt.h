#pragma once

#include "UserPrompt.h"

namespace vigilon::app {

// Message boxes as the toolkit's message dialog, modal over the active
// window, so that window tests can answer them with wxTEST_DIALOG.
class WxUserPrompt : public UserPrompt {
public:
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) override;
};

}  // namespace vigilon::app
