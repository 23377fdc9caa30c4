#include "ProgramVersion.h"

namespace vigilon::app {

std::string ProgramVersion() { return VIGILON_VERSION; }

std::string VersionText() { return "Vigilon " + ProgramVersion() + "\n"; }

std::string AboutVersionLine() { return "Vigilon   Version " + ProgramVersion(); }

}  // namespace vigilon::app
