#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

namespace vigilon::app {

// The program's pictures, drawn as SVG and built into it.
enum class Picture {
    AppIcon,         // the application icon
    LampIdle,        // dark green: not monitoring
    LampOnline,      // bright green: the target answers
    LampTargetDown,  // red: the target does not answer
    TrayIdle,
    TrayOnline,
    TrayOffline,
    Banner,          // the product name under the statistics
};

// The picture at its natural size in pixels at scale 1.
wxSize PictureSize(Picture picture);
// Rendered at whatever size and scale the screen asks for.
wxBitmapBundle PictureBundle(Picture picture);
wxBitmapBundle PictureBundle(Picture picture, wxSize size);
// The application icon at the usual sizes, for window and taskbar.
wxIconBundle AppIconBundle();

}  // namespace vigilon::app
