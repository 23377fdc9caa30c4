#pragma once

#include <wx/dialog.h>

#include "ProgramLauncher.h"

namespace vigilon::app {

inline constexpr const char* kAboutCaption = "About Vigilon";
inline constexpr const char* kNoticeLine = "Copyright (C) 2026 Vigilon developers";
inline constexpr const char* kWebSiteAddress = "https://vigilon.example.org";
// The web-site button's identifier in the box.
inline constexpr int kWebSiteButtonId = 1051;

// The About box (template 100): product name and version, the notice line,
// OK, and a button that opens the web site in the desktop's browser.
class CAboutBox : public wxDialog {
public:
    CAboutBox(wxWindow* owner, ProgramLauncher& launcher);

private:
    void OpenWebSite();

    ProgramLauncher& launcher_;
};

// The web site's address, to copy, where the desktop has no browser.
void ShowWebAddressBox();

// Shows the About box modally over owner and returns when it is closed.
void ShowAboutBox(wxWindow* owner, ProgramLauncher& launcher);

}  // namespace vigilon::app
