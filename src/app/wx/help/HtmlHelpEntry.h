#pragma once

// What the HTML help viewer offers the window program: plain functions, so
// that nothing but a pointer and a result crosses between the two. On Linux
// the viewer is a module of its own, loaded at the first Help (HtmlHelpLoad);
// on Windows it is linked into the program.

namespace vigilon::app {

struct HtmlHelpFunctions {
    // A viewer holding the help book at that UTF-8 path; nullptr when the
    // book cannot be read (a damaged archive). Reading it shows nothing.
    void* (*open)(const char* book);
    // Shows the book's contents in the viewer's window, a window of its own.
    void (*showContents)(void* viewer);
    // Closes the viewer's window, if open, and frees the viewer.
    void (*close)(void* viewer);
};

}  // namespace vigilon::app

// The module's one entry point: its functions.
extern "C" const vigilon::app::HtmlHelpFunctions* vigilon_html_help_functions();
