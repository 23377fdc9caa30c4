#include "HtmlHelpBackend.h"

#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/log.h>

#include "HelpBook.h"
#include "HelpController.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// The book is a zip archive: the viewer reads it through the file system's
// archive handler, which the toolkit does not install by itself.
void AddArchiveHandler(const wxString& book) {
    if (!wxFileSystem::HasHandlerForPath(book + "#zip:vigilon.hhp"))
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
}

}  // namespace

HtmlHelpBackend::HtmlHelpBackend(std::vector<std::filesystem::path> folders)
    : folders_(std::move(folders)) {}

HtmlHelpBackend::~HtmlHelpBackend() = default;

HelpBackend::BindResult HtmlHelpBackend::Bind() {
    const std::filesystem::path book = FindHelpBook(folders_);
    if (book.empty()) return BindResult::NoBook;
    const wxString bookName = ToWx(book.string());
    AddArchiveHandler(bookName);
    // No parent: the viewer is a window of its own, like the platform's.
    auto controller = std::make_unique<HelpController>();
    // A damaged book would otherwise put the toolkit's log window up.
    wxLogNull quiet;
    if (!controller->AddBook(wxFileName(bookName), false)) return BindResult::Failed;
    controller_ = std::move(controller);
    return BindResult::Bound;
}

void HtmlHelpBackend::ShowContents() {
    if (controller_) controller_->DisplayContents();
}

}  // namespace vigilon::app
