#include "HtmlHelpBackend.h"

#include "HelpBook.h"
#include "HtmlHelpLoad.h"

namespace vigilon::app {

HtmlHelpBackend::HtmlHelpBackend(UserPrompt& prompt, std::vector<std::filesystem::path> folders,
                                 std::filesystem::path module)
    : prompt_(prompt), folders_(std::move(folders)), module_(std::move(module)) {}

HtmlHelpBackend::~HtmlHelpBackend() {
    if (viewer_ != nullptr) viewerFunctions_->close(viewer_);
}

HelpBackend::BindResult HtmlHelpBackend::Bind() {
    const std::filesystem::path book = FindHelpBook(folders_);
    if (book.empty()) return BindResult::NoBook;
    std::string error;
    const HtmlHelpFunctions* functions = LoadHtmlHelp(module_, error);
    if (functions == nullptr) {
        prompt_.ShowMessage("The help cannot be shown: its viewer could not be loaded.\n\n" +
                                error + "\n\nInstalling Vigilon again should bring it back.",
                            MessageIcon::Exclamation);
        return BindResult::Failed;
    }
    void* viewer = functions->open(book.string().c_str());
    if (viewer == nullptr) return BindResult::Failed;
    viewerFunctions_ = functions;
    viewer_ = viewer;
    return BindResult::Bound;
}

void HtmlHelpBackend::ShowContents() {
    if (viewer_ != nullptr) viewerFunctions_->showContents(viewer_);
}

}  // namespace vigilon::app
