#pragma once

#include <wx/html/helpctrl.h>

namespace vigilon::app {

// wx's HTML help controller whose viewer is laid out whole before it
// shows: the Index and Search pages, hidden behind Contents, otherwise keep
// their first tiny size, and GTK then cannot fit their lists' scroll bars
// (Gtk-CRITICAL "gtk_box_gadget_distribute: assertion 'size >= 0' failed").
class HelpController : public wxHtmlHelpController {
public:
    HelpController() : wxHtmlHelpController(wxHF_DEFAULT_STYLE, nullptr) {}

    // Shows the contents with every book's tree open.
    bool DisplayContents() override;

protected:
    wxHtmlHelpFrame* CreateHelpFrame(wxHtmlHelpData* data) override;
};

}  // namespace vigilon::app
