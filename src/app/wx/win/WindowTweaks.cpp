#include "WindowTweaks.h"

namespace vigilon::app {

// A static control on Windows cannot select its text; the box's text is
// short enough to type, and Windows always has a browser to open the
// address in, so the box is rarely seen there.
void MakeLabelSelectable(wxStaticText&) {}

// Windows' notification area is always there.
bool TaskBarIconCanShow() { return true; }

// wx on Windows disables every top-level window while a modal dialog runs;
// the viewer waits like the others until the dialog ends.
void KeepOutOfModalHolds(wxNonOwnedWindow&) {}

// A Windows control's change never lays out its parent window anew.
void KeepLayoutRequestsInside(wxWindow&) {}

}  // namespace vigilon::app
