#include "WxUserPrompt.h"

#include <wx/msgdlg.h>

#include "WxText.h"

namespace vigilon::app {

namespace {

long IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return wxICON_INFORMATION;
        case MessageIcon::Exclamation: return wxICON_EXCLAMATION;
        case MessageIcon::Question: return wxICON_QUESTION;
        case MessageIcon::Stop: return wxICON_ERROR;
        case MessageIcon::None: break;
    }
    return wxICON_NONE;
}

}  // namespace

void WxUserPrompt::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
    Show(text, caption, wxOK | IconStyle(icon));
}

bool WxUserPrompt::AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) {
    return Show(text, caption, wxYES_NO | IconStyle(icon)) == wxID_YES;
}

int WxUserPrompt::Show(const std::string& text, const std::string& caption, long style) {
    // A hidden or withdrawn owner is passed over by the toolkit: the box then
    // stands on its own, as it must while the window sits in the tray.
    wxMessageDialog box(owner_, ToWx(text), ToWx(caption), style);
    return box.ShowModal();
}

}  // namespace vigilon::app
