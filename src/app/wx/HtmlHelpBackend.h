#pragma once

#include <filesystem>
#include <vector>

#include "HelpBinding.h"
#include "HtmlHelpEntry.h"
#include "UserPrompt.h"

namespace vigilon::app {

// The help book shown in wx's HTML help viewer, a window of its own with no
// owner. The book is the first one found in the given folders; the viewer
// comes from the given module (HtmlHelpLoad), and when it cannot be loaded
// the user is told why in a message box.
class HtmlHelpBackend : public HelpBackend {
public:
    HtmlHelpBackend(UserPrompt& prompt, std::vector<std::filesystem::path> folders,
                    std::filesystem::path module);
    ~HtmlHelpBackend() override;
    HtmlHelpBackend(const HtmlHelpBackend&) = delete;
    HtmlHelpBackend& operator=(const HtmlHelpBackend&) = delete;

    BindResult Bind() override;
    void ShowContents() override;

private:
    UserPrompt& prompt_;
    std::vector<std::filesystem::path> folders_;
    std::filesystem::path module_;
    const HtmlHelpFunctions* viewerFunctions_ = nullptr;
    void* viewer_ = nullptr;
};

}  // namespace vigilon::app
