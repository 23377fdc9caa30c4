#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

namespace vigilon::ravelin {

// Ravelin's own picture, drawn as SVG and built into the program.
wxBitmapBundle RavelinPicture(wxSize size);
// At the usual icon sizes, for the window and the taskbar.
wxIconBundle RavelinIcons();

}  // namespace vigilon::ravelin
