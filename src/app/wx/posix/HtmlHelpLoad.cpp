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

// The module as loaded, by the name the plugin manager knows it by.
wxString& LoadedName() {
    static wxString name;
    return name;
}

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
    const wxString name = wxString::FromUTF8(module.string());
    wxPluginLibrary* library =
        wxPluginManager::LoadLibrary(name, wxDL_NOW | wxDL_VERBATIM | wxDL_QUIET);
    if (library == nullptr) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : "cannot load " + module.string();
        return nullptr;
    }
    bool found = false;
    auto* entry =
        reinterpret_cast<const HtmlHelpFunctions* (*)()>(library->GetSymbol(kEntryName, &found));
    if (!found || entry == nullptr) {
        wxPluginManager::UnloadLibrary(name);
        error = module.string() + " has no " + kEntryName;
        return nullptr;
    }
    LoadedName() = name;
    return entry();
}

// The plugin manager started the wx modules of the HTML library with the
// toolkit's own; left loaded, the toolkit's end would find them in its list
// and complain that it had not started them.
void UnloadHtmlHelp() {
    if (LoadedName().empty()) return;
    wxPluginManager::UnloadLibrary(LoadedName());
    LoadedName().clear();
}

}  // namespace vigilon::app
