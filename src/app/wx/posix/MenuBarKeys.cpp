#include "MenuBarKeys.h"

#include <gtk/gtk.h>

namespace vigilon::app {

void OpenMenuBarMenu(wxMenuBar& bar, int index) {
    if (index < 0 || index >= static_cast<int>(bar.GetMenuCount())) return;
    // wx offers no call for this; its GTK menu keeps the bar's item it hangs from.
    GtkWidget* title = bar.GetMenu(index)->m_owner;
    // Not group cycling: the item opens its menu instead of only taking the focus.
    if (title != nullptr) gtk_widget_mnemonic_activate(title, FALSE);
}

}  // namespace vigilon::app
