#pragma once

namespace vigilon::app {

// Command identifiers of the main window, shared by its buttons, its menu
// bar and the tray's popup menu.
enum CommandId : int {
    ID_ABOUT_SYSMENU = 16,
    ID_TOGGLE_BUTTON = 1000,  // "Start &Ping" / "S&top Ping"
    ID_SETTINGS_BUTTON = 1001,
    ID_FILE_START = 32771,
    ID_FILE_STOP = 32772,
    ID_FILE_EXIT = 32773,
    ID_OPTIONS_EMAIL = 32774,
    ID_OPTIONS_LOG = 32775,
    ID_OPTIONS_SETTINGS = 32776,
    ID_HELP_ABOUT = 32779,
    ID_OPTIONS_VIEW_LOG = 32780,
    ID_TOOLS_SIMPLE_PING = 32782,
    ID_TRAY_OPEN = 32783,
    ID_TRAY_SETTINGS = 32784,
    ID_TRAY_VIEW_LOG = 32785,
    ID_TRAY_EXIT = 32786,
    ID_TRAY_START_STOP = 32788,
    ID_TRAY_SIMPLE_PING = 32790,
    ID_TRAY_HELP = 32791,
    ID_TRAY_ABOUT = 32792,
    ID_HELP_CONTENTS = 57670,
};

// Resource identifiers of the two menus.
inline constexpr int kMainMenuId = 134;
inline constexpr int kTrayMenuId = 144;

}  // namespace vigilon::app
