#include "WxUserPrompt.h"

#include "MessageBox.h"

namespace vigilon::app {

void WxUserPrompt::ShowMessage(const std::string& text, MessageIcon icon,
                               const std::string& caption) {
    MessageBox box(Owner(), text, caption, icon, MessageBox::Buttons::Ok);
    box.ShowModal();
}

bool WxUserPrompt::AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) {
    MessageBox box(Owner(), text, caption, icon, MessageBox::Buttons::YesNo);
    return box.ShowModal() == wxID_YES;
}

// A hidden or withdrawn owner is passed over: the box then stands on its
// own, as it must while the window sits in the tray.
wxWindow* WxUserPrompt::Owner() const {
    return owner_ != nullptr && owner_->IsShown() ? owner_ : nullptr;
}

}  // namespace vigilon::app
