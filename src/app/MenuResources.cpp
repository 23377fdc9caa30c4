#include "MenuResources.h"

#include <cctype>

#include "Commands.h"

namespace vigilon::app {

namespace {

// A menu entry as its command is labelled.
MenuItem Item(int id) {
    const Command& command = *FindCommand(id);
    return {id, command.label, command.checkItem, command.checkItem, {}};
}
MenuItem Separator() { return {}; }
MenuItem Popup(const char* text, std::vector<MenuItem> items) {
    return {0, text, false, false, std::move(items)};
}

// Menus as they are laid out; each entry is labelled by its command.
const MenuResource kMainMenu{{
    Popup("&File", {Item(ID_FILE_START), Item(ID_FILE_STOP), Separator(), Item(ID_FILE_EXIT)}),
    Popup("&Options", {Item(ID_OPTIONS_EMAIL), Item(ID_OPTIONS_LOG), Item(ID_OPTIONS_VIEW_LOG),
                       Separator(), Item(ID_OPTIONS_SETTINGS)}),
    Popup("&Tools", {Item(ID_TOOLS_SIMPLE_PING)}),
    Popup("&Help", {Item(ID_HELP_CONTENTS), Separator(), Item(ID_HELP_ABOUT)}),
}};

const MenuResource kTrayMenu{{
    Popup("Popup Menu",
          {Item(ID_TRAY_OPEN), Separator(), Item(ID_TRAY_START_STOP), Separator(),
           Item(ID_TRAY_SETTINGS), Item(ID_TRAY_VIEW_LOG), Separator(), Item(ID_TRAY_SIMPLE_PING),
           Separator(), Item(ID_TRAY_HELP), Item(ID_TRAY_ABOUT), Separator(), Item(ID_TRAY_EXIT)}),
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
        if (text[i + 1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
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
