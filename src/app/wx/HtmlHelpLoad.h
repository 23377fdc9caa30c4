#pragma once

#include <filesystem>
#include <string>

#include "HtmlHelpEntry.h"

namespace vigilon::app {

// Where the platform keeps the HTML help viewer: the module in the window
// program's folder on Linux; nothing on Windows, where it is linked in.
std::filesystem::path HtmlHelpModuleFile(const std::filesystem::path& programFolder);

// The viewer's functions, from that module (on Linux, loaded once and kept
// for the life of the process); nullptr when they cannot be had, and then
// why is in error.
const HtmlHelpFunctions* LoadHtmlHelp(const std::filesystem::path& module, std::string& error);

// Lets the viewer go once its windows are gone and before the toolkit
// ends: the toolkit's parts that the module's libraries brought end with
// it, as they started with it. Nothing when none was loaded.
void UnloadHtmlHelp();

}  // namespace vigilon::app
