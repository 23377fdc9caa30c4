#pragma once

#include <string>

namespace vigilon::app {

// What the program's own viewers say where the desktop offers no handler.
inline constexpr const char* kLogViewerCaption = "Vigilon Log";
inline constexpr const char* kNoTextViewerNote =
    "No program for viewing text files was found, so the log is shown here. To open it in the "
    "system's viewer, install xdg-utils and a text editor.";

inline std::string NoBrowserMessage(const std::string& address) {
    return "No web browser was found to open the web site:\n\n" + address +
           "\n\nTo open web addresses in the system's browser, install xdg-utils and a web "
           "browser.";
}

}  // namespace vigilon::app
