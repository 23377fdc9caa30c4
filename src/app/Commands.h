#pragma once

#include "CommandIds.h"

namespace vigilon::app {

// What a command does in the shell; several identifiers (a button, a main
// menu entry, a tray menu entry) may share one.
enum class ShellAction {
    ToggleMonitoring,
    EditSettings,
    Exit,
    ToggleEmail,
    ToggleLog,
    ViewLog,
    SimplePing,
    Help,
    About,
    Open,
};

// One command, in one place: the menus take its label and whether it is a
// check item from here, and the shell its action.
struct Command {
    int id;
    const char* label;  // nullptr for a button or system-menu entry, labelled elsewhere
    bool checkItem;     // shows a check mark, starting checked
    ShellAction action;
};

// nullptr for an identifier that is no command.
const Command* FindCommand(int id);

}  // namespace vigilon::app
