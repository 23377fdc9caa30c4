#include "Commands.h"

namespace vigilon::app {

namespace {

constexpr bool kCheck = true;

constexpr Command kCommands[] = {
    {ID_TOGGLE_BUTTON, nullptr, false, ShellAction::ToggleMonitoring},
    {ID_FILE_START, "&Start Ping", false, ShellAction::ToggleMonitoring},
    {ID_FILE_STOP, "Sto&p Ping", false, ShellAction::ToggleMonitoring},
    {ID_TRAY_START_STOP, "Start / Stop", false, ShellAction::ToggleMonitoring},
    {ID_SETTINGS_BUTTON, nullptr, false, ShellAction::EditSettings},
    {ID_OPTIONS_SETTINGS, "&Settings", false, ShellAction::EditSettings},
    {ID_TRAY_SETTINGS, "Settings", false, ShellAction::EditSettings},
    {ID_FILE_EXIT, "E&xit", false, ShellAction::Exit},
    {ID_TRAY_EXIT, "Exit", false, ShellAction::Exit},
    {ID_OPTIONS_EMAIL, "&Enable Email", kCheck, ShellAction::ToggleEmail},
    {ID_OPTIONS_LOG, "Enable &Log", kCheck, ShellAction::ToggleLog},
    {ID_OPTIONS_VIEW_LOG, "&View Log", false, ShellAction::ViewLog},
    {ID_TRAY_VIEW_LOG, "View Log", false, ShellAction::ViewLog},
    {ID_TOOLS_SIMPLE_PING, "Simple &Ping", false, ShellAction::SimplePing},
    {ID_TRAY_SIMPLE_PING, "Simple Ping", false, ShellAction::SimplePing},
    {ID_HELP_CONTENTS, "&Contents", false, ShellAction::Help},
    {ID_TRAY_HELP, "Help", false, ShellAction::Help},
    {ID_HELP_ABOUT, "&About Vigilon", false, ShellAction::About},
    {ID_TRAY_ABOUT, "About Vigilon...", false, ShellAction::About},
    {ID_ABOUT_SYSMENU, nullptr, false, ShellAction::About},
    {ID_TRAY_OPEN, "Open", false, ShellAction::Open},
};

}  // namespace

const Command* FindCommand(int id) {
    for (const Command& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
}

}  // namespace vigilon::app
