#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vigilon::app {

// --set: reads the settings file of the current folder (a first run's
// values when there is none), sets the named fields by the dialog's rules
// and saves it as the window would. Returns the exit status: 0 saved; 2 a
// bad name or value, or a damaged file, with the file untouched; 1 the
// file could not be written.
int RunSetSettings(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// --show-settings: the fields of the current folder's settings file as
// NAME=VALUE lines on out. 0, or 2 when there is no readable file.
int RunShowSettings(std::ostream& out, std::ostream& err);

}  // namespace vigilon::app
