#include "WxModelessBoxes.h"

#include "MessageBox.h"

namespace vigilon::app {

WxModelessBoxes::~WxModelessBoxes() {
    for (wxDialog* box : open_)
        box->Destroy();
}

void WxModelessBoxes::Open(const std::string& text, MessageIcon icon,
                           std::function<void()> whenClosed) {
    auto* box = new MessageBox(nullptr, text, kAppName, icon, MessageBox::Buttons::Ok);
    open_.insert(box);
    auto close = [this, box, whenClosed = std::move(whenClosed)] {
        if (open_.erase(box) == 0) return;
        box->Destroy();
        whenClosed();
    };
    box->Bind(
        wxEVT_BUTTON, [close](wxCommandEvent&) { close(); }, wxID_OK);
    box->Bind(wxEVT_CLOSE_WINDOW, [close](wxCloseEvent&) { close(); });
    box->Bind(wxEVT_CHAR_HOOK, [close](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE || event.GetKeyCode() == WXK_RETURN)
            close();
        else
            event.Skip();
    });
    box->Show();
}

}  // namespace vigilon::app
