#pragma once

#include <filesystem>
#include <vector>

#include "HelpBinding.h"
#include "HtmlHelpBackend.h"

namespace vigilon::app {

// The help command of the main window, which owns one for its lifetime.
// The viewer is set up at the first OpenHelp; its window closes with this.
// A viewer that cannot be loaded is reported through prompt.
class HelpViewer {
public:
    // The book in the first of the folders that has it (HelpBookFolders),
    // the viewer from the module (HtmlHelpModuleFile).
    HelpViewer(UserPrompt& prompt, std::vector<std::filesystem::path> folders,
               std::filesystem::path module)
        : backend_(prompt, std::move(folders), std::move(module)) {}

    // Shows the help book's start page; without a book, silently nothing.
    void OpenHelp() { binding_.OpenHelp(); }

private:
    HtmlHelpBackend backend_;
    HelpBinding binding_{backend_};
};

}  // namespace vigilon::app
