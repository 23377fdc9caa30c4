#pragma once

#include <string>

#include "MessageIcon.h"

namespace vigilon {

// Modal message boxes, captioned "Vigilon" unless a caption is given. The
// shell implements it with the toolkit's message box; tests record the calls.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A box with an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None,
                             const std::string& caption = kAppName) = 0;
    // A box with Yes and No buttons; true only for Yes.
    virtual bool AskYesNo(const std::string& text, MessageIcon icon = MessageIcon::Question,
                          const std::string& caption = kAppName) = 0;
};

}  // namespace vigilon
