#pragma once

namespace vigilon::app {

// The program's pictures, drawn as SVG and built into it (wx/Pictures.h
// renders them); named here, without a toolkit, so that the shell's tables
// can say which picture goes where.
enum class Picture {
    AppIcon,         // the application icon
    LampIdle,        // dark green: not monitoring
    LampOnline,      // bright green: the target answers
    LampTargetDown,  // red: the target does not answer
    TrayIdle,
    TrayOnline,
    TrayOffline,
    Banner,  // the product name under the statistics
};

}  // namespace vigilon::app
