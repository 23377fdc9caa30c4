#pragma once

#include <wx/nonownedwnd.h>
#include <wx/stattext.h>

namespace vigilon::app {

// What wx leaves to the toolkit underneath, one file for each platform.

// Lets the user select and copy the label's text (an address to copy).
void MakeLabelSelectable(wxStaticText& label);

// Whether wx's tray icon can show on this desktop at all.
bool TaskBarIconCanShow();

// Keeps the window usable while a modal dialog of the program runs.
void KeepOutOfModalHolds(wxNonOwnedWindow& window);

// Where a control's request for a new layout reaches the top-level window
// (GTK), it ends at this panel of fixed size instead: the window is not
// measured and placed again, with its round trips to the display, for a
// control that changes inside the panel.
void KeepLayoutRequestsInside(wxWindow& panel);

}  // namespace vigilon::app
