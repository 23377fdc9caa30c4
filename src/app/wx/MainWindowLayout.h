#pragma once

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ValueField.h"

namespace vigilon::app {

// Control identifiers of the main window.
enum MainWindowControlId : int {
    IDC_RESULTS = 1004,
    IDC_EMAILS = 1005,
    IDC_TIME_RUNNING = 1006,
    IDC_LAST_ERROR = 1007,
    IDC_CONTROL_TIMEOUTS = 1008,
    IDC_TARGET_TIMEOUTS = 1009,
    IDC_LAMP_IDLE = 1010,
    IDC_PROGRESS = 1011,
    IDC_LAMP_ONLINE = 1018,
    IDC_PING_NUMBER = 1019,
    IDC_LAMP_TARGET_DOWN = 1020,
    IDC_TARGET_ADDRESS = 1002,
    IDC_TARGET_IP = 1003,
    IDC_IP_TO_NAME = 1022,
    IDC_COUNTDOWN = 1047,
};

// The controls of the main window that change at run time.
struct MainWindowControls {
    wxTextCtrl* targetAddress = nullptr;
    wxTextCtrl* targetIp = nullptr;
    wxTextCtrl* ipToName = nullptr;
    wxTextCtrl* countdown = nullptr;
    wxGauge* progress = nullptr;
    ValueField* pingNumber = nullptr;
    ValueField* targetTimeouts = nullptr;
    ValueField* controlTimeouts = nullptr;
    ValueField* emails = nullptr;
    ValueField* timeRunning = nullptr;
    ValueField* lastError = nullptr;
    ValueField* results = nullptr;
    wxStaticBitmap* lampIdle = nullptr;
    wxStaticBitmap* lampOnline = nullptr;
    wxStaticBitmap* lampTargetDown = nullptr;
    wxButton* settings = nullptr;
    wxButton* toggle = nullptr;
};

// Lays out the main window's dialog (template 102) on panel, in dialog
// units of the system font, and returns its live controls. The panel's
// client size becomes the template's 267 x 197 units.
MainWindowControls LayOutMainWindow(wxPanel* panel);

}  // namespace vigilon::app
