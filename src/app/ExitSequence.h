#pragma once

#include <string>

#include "MonitorEngine.h"
#include "UserPrompt.h"

namespace vigilon::app {

inline constexpr const char* kExitLine = "***** EXITING Vigilon *****";

// The exit's log line for mails that no server has accepted yet.
std::string MailsWaitingLine(int waiting);

// What every way of ending a run writes, the window's Exit and a headless
// SIGTERM alike: the waiting mails' line, the settings file (its "SAVED
// SETTINGS" line through the gated log), the exit line. A settings file
// that cannot be written is told through prompt; the exit goes on, as
// nobody may be there to help it.
void WriteExitRecords(MonitorEngine& engine, UserPrompt& prompt);

}  // namespace vigilon::app
