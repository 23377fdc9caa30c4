#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "HelpBinding.h"

namespace vigilon::app {

class HelpController;

// The help book shown in wx's HTML help viewer, a window of its own with no
// owner. The book is the first one found in the given folders.
class HtmlHelpBackend : public HelpBackend {
public:
    explicit HtmlHelpBackend(std::vector<std::filesystem::path> folders);
    ~HtmlHelpBackend() override;

    BindResult Bind() override;
    void ShowContents() override;

private:
    std::vector<std::filesystem::path> folders_;
    std::unique_ptr<HelpController> controller_;
};

}  // namespace vigilon::app
