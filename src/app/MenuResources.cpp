#include "MenuResources.h"

#include <cctype>

#include "CommandIds.h"

namespace vigilon::app {

namespace {

MenuItem Item(int id, const char* text, bool checked = false) { return {id, text, checked, {}}; }
MenuItem Separator() { return {}; }
MenuItem Popup(const char* text, std::vector<MenuItem> items) { return {0, text, false, std::move(items)}; }

const MenuResource kMainMenu{{
    Popup("&File", {Item(ID_FILE_START, "&Start Ping"), Item(ID_FILE_STOP, "Sto&p Ping"), Separator(),
                    Item(ID_FILE_EXIT, "E&xit")}),
    Popup("&Options", {Item(ID_OPTIONS_EMAIL, "&Enable Email", true),
                       Item(ID_OPTIONS_LOG, "Enable &Log", true), Item(ID_OPTIONS_VIEW_LOG, "&View Log"),
                       Separator(), Item(ID_OPTIONS_SETTINGS, "&Settings")}),
    Popup("&Tools", {Item(ID_TOOLS_SIMPLE_PING, "Simple &Ping")}),
    Popup("&Help", {Item(ID_HELP_CONTENTS, "&Contents"), Separator(), Item(ID_HELP_ABOUT, "&About Vigilon")}),
}};

const MenuResource kTrayMenu{{
    Popup("Popup Menu", {Item(ID_TRAY_OPEN, "Open"), Separator(), Item(ID_TRAY_START_STOP, "Start / Stop"),
                         Separator(), Item(ID_TRAY_SETTINGS, "Settings"), Item(ID_TRAY_VIEW_LOG, "View Log"),
                         Separator(), Item(ID_TRAY_SIMPLE_PING, "Simple Ping"), Separator(),
                         Item(ID_TRAY_HELP, "Help"), Item(ID_TRAY_ABOUT, "About Vigilon..."), Separator(),
                         Item(ID_TRAY_EXIT, "Exit")}),
}};

}  // namespace

const MenuResource* FindMenuResource(int resourceId) {
    if (resourceId == kMainMenuId) return &kMainMenu;
    if (resourceId == kTrayMenuId) return &kTrayMenu;
    return nullptr;
}

}  // namespace vigilon::app

namespace vigilon::app {

char AccessKey(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
        ++i;  // "&&": a plain '&'
    }
    return 0;
}

int PopupWithAccessKey(const MenuResource& menu, char key) {
    const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
    if (wanted == 0) return -1;
    for (std::size_t i = 0; i < menu.popups.size(); ++i)
        if (AccessKey(menu.popups[i].text) == wanted) return static_cast<int>(i);
    return -1;
}

}  // namespace vigilon::app
