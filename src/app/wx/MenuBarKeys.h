#pragma once

#include <wx/menu.h>

namespace vigilon::app {

// Opens the menu bar's menu at index as its access key does when no other
// control shares the key, ready for the next key to choose an item.
void OpenMenuBarMenu(wxMenuBar& bar, int index);

}  // namespace vigilon::app
