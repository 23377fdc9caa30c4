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
    wxMessageDialog box(nullptr, ToWx(text), ToWx(caption), wxOK | IconStyle(icon));
    box.ShowModal();
}

bool WxUserPrompt::AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) {
    wxMessageDialog box(nullptr, ToWx(text), ToWx(caption), wxYES_NO | IconStyle(icon));
    return box.ShowModal() == wxID_YES;
}

}  // namespace vigilon::app
