#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

#include "PictureId.h"

namespace vigilon::app {

// The picture at its natural size in pixels at scale 1.
wxSize PictureSize(Picture picture);
// Rendered at whatever size and scale the screen asks for.
wxBitmapBundle PictureBundle(Picture picture);
wxBitmapBundle PictureBundle(Picture picture, wxSize size);
// The application icon at the usual sizes, for window and taskbar.
wxIconBundle AppIconBundle();

}  // namespace vigilon::app
