// The HTML help viewer linked into the program: wx is linked statically on
// Windows, with nothing to load.
#include "HtmlHelpLoad.h"

namespace vigilon::app {

std::filesystem::path HtmlHelpModuleFile(const std::filesystem::path&) { return {}; }

const HtmlHelpFunctions* LoadHtmlHelp(const std::filesystem::path&, std::string&) {
    return vigilon_html_help_functions();
}

void UnloadHtmlHelp() {}

}  // namespace vigilon::app
