#pragma once

#include <wx/dialog.h>

#include <string>

#include "UserPrompt.h"

// Windows' headers make MessageBox a macro for their own function.
#undef MessageBox

namespace vigilon::app {

// The program's message box: the icon of its kind (none for None), the
// text wrapped so that the box fits the screen (at most two thirds of the
// display's width, breaking inside words without spaces such as a host
// name), and buttons of their usual width at the right. Shown modally, it
// ends with wxID_OK, or wxID_YES / wxID_NO; Escape and the close box mean
// OK, or No. WxModelessBoxes shows the same box beside the window.
class MessageBox : public wxDialog {
public:
    enum class Buttons { Ok, YesNo };

    // selectable: the text can be selected and copied (an address).
    MessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
               MessageIcon icon, Buttons buttons, bool selectable = false);

    const std::string& Message() const { return text_; }
    MessageIcon Icon() const { return icon_; }
    Buttons ButtonSet() const { return buttons_; }

private:
    std::string text_;
    MessageIcon icon_;
    Buttons buttons_;
};

// The widest a message box may be next to window (or on the main display).
int MaxMessageBoxWidth(const wxWindow* window);

}  // namespace vigilon::app
