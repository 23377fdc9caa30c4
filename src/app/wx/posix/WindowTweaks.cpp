#include "WindowTweaks.h"

#include <wx/utils.h>

#include <gtk/gtk.h>

namespace vigilon::app {

void MakeLabelSelectable(wxStaticText& label) {
    gtk_label_set_selectable(GTK_LABEL(label.GetHandle()), TRUE);
}

// The XEmbed tray exists only on X11; under Wayland the icon could never show.
bool TaskBarIconCanShow() { return wxGetDisplayInfo().type == wxDisplayX11; }

// A window group of its own: a modal dialog's hold on the program's windows
// (GTK's grab is per group) does not reach it.
void KeepOutOfModalHolds(wxNonOwnedWindow& window) {
    GtkWindowGroup* group = gtk_window_group_new();
    gtk_window_group_add_window(group, GTK_WINDOW(window.GetHandle()));
    g_object_unref(group);
}

// A container that queues its own layout: its children's requests stop
// there. GTK deprecates resize modes as frame clocks made them needless
// for most uses; this one they did not cover.
void KeepLayoutRequestsInside(wxWindow& panel) {
    if (!GTK_IS_CONTAINER(panel.GetHandle())) return;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_container_set_resize_mode(GTK_CONTAINER(panel.GetHandle()), GTK_RESIZE_QUEUE);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

}  // namespace vigilon::app
