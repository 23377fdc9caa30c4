#include "MenuBarKeys.h"

#include <cctype>

#include <wx/frame.h>
#include <wx/msw/wrapwin.h>

namespace vigilon::app {

// What Alt and the title's key do on Windows: the system opens the menu
// bar's menu with that key.
void OpenMenuBarMenu(wxMenuBar& bar, int index) {
    if (index < 0 || index >= static_cast<int>(bar.GetMenuCount())) return;
    const wxString title = bar.GetMenuLabel(static_cast<size_t>(index));
    const int mark = title.Find('&');
    wxFrame* frame = bar.GetFrame();
    if (mark == wxNOT_FOUND || static_cast<size_t>(mark) + 1 >= title.length() || frame == nullptr)
        return;
    const auto key =
        static_cast<wchar_t>(std::tolower(static_cast<int>(title[mark + 1].GetValue())));
    ::PostMessageW(static_cast<HWND>(frame->GetHWND()), WM_SYSCOMMAND, SC_KEYMENU, key);
}

}  // namespace vigilon::app
