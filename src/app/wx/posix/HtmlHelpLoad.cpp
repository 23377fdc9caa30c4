// The HTML help viewer as a module loaded on first use: wx's HTML library
// comes with it. Loaded through wx's plugin manager, which starts the wx
// modules of the libraries it brings (the HTML tag handlers among them) as
// the toolkit's start does for the linked ones.
#include "HtmlHelpLoad.h"

#include <dlfcn.h>

#include <wx/dynload.h>

namespace vigilon::app {

namespace {
constexpr const char* kModuleName = "vigilon-help.so";
constexpr const char* kEntryName = "vigilon_html_help_functions";
}  // namespace

std::filesystem::path HtmlHelpModuleFile(const std::filesystem::path& programFolder) {
    return programFolder.empty() ? std::filesystem::path() : programFolder / kModuleName;
}

const HtmlHelpFunctions* LoadHtmlHelp(const std::filesystem::path& module, std::string& error) {
    if (module.empty()) {
        error = std::string("the program's folder is unknown, and ") + kModuleName + " with it";
        return nullptr;
    }
    // Quiet: a failure is told by the caller, not in the toolkit's log window.
    // Never unloaded, as the classes it registered with the toolkit live on.
    wxPluginLibrary* library = wxPluginManager::LoadLibrary(wxString::FromUTF8(module.string()),
                                                            wxDL_NOW | wxDL_VERBATIM | wxDL_QUIET);
    if (library == nullptr) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : "cannot load " + module.string();
        return nullptr;
    }
    bool found = false;
    auto* entry =
        reinterpret_cast<const HtmlHelpFunctions* (*)()>(library->GetSymbol(kEntryName, &found));
    if (!found || entry == nullptr) {
        error = module.string() + " has no " + kEntryName;
        return nullptr;
    }
    return entry();
}

}  // namespace vigilon::app
