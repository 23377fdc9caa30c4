#pragma once

#include <string>

namespace vigilon::app {

// The program's version, from the build (the project's version): one home
// for every place that shows it.
std::string ProgramVersion();

// "Vigilon 1.0" and a newline: what --version prints.
std::string VersionText();

// "Vigilon   Version 1.0" (three blanks): the About box's line.
std::string AboutVersionLine();

}  // namespace vigilon::app
