#pragma once

namespace vigilon {

// What the run asks the tray to show; the shell's TrayPresentation.h says
// how each looks.
enum class TrayState { Idle, TargetOnline, TargetOffline };

}  // namespace vigilon
