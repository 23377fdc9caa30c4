#pragma once

#include <filesystem>
#include <vector>

#include "HelpBinding.h"
#include "HtmlHelpBackend.h"

namespace vigilon::app {

// The help command of the main window, which owns one for its lifetime.
// The viewer is set up at the first OpenHelp; its window closes with this.
class HelpViewer {
public:
    // The book next to the executable, else in the installed data folder.
    HelpViewer();
    // The book in the given folders (tests use the build folder).
    explicit HelpViewer(std::vector<std::filesystem::path> folders);

    // Shows the help book's start page; without a book, silently nothing.
    void OpenHelp() { binding_.OpenHelp(); }

private:
    HtmlHelpBackend backend_;
    HelpBinding binding_{backend_};
};

}  // namespace vigilon::app
