// The viewer's side of HtmlHelpEntry.h: wx's HTML help controller holding
// the program's book.
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/log.h>

#include "HelpController.h"
#include "HtmlHelpEntry.h"

namespace vigilon::app {

namespace {

// The book is a zip archive: the viewer reads it through the file system's
// archive handler, which the toolkit does not install by itself.
void AddArchiveHandler(const wxString& book) {
    if (!wxFileSystem::HasHandlerForPath(book + "#zip:vigilon.hhp"))
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
}

void* Open(const char* book) {
    const wxString bookName = wxString::FromUTF8(book);
    AddArchiveHandler(bookName);
    // No parent: the viewer is a window of its own, like the platform's.
    auto* controller = new HelpController;
    // A damaged book would otherwise put the toolkit's log window up.
    wxLogNull quiet;
    if (!controller->AddBook(wxFileName(bookName), false)) {
        delete controller;
        return nullptr;
    }
    return controller;
}

void ShowContents(void* viewer) { static_cast<HelpController*>(viewer)->DisplayContents(); }

void Close(void* viewer) { delete static_cast<HelpController*>(viewer); }

constexpr HtmlHelpFunctions kFunctions{Open, ShowContents, Close};

}  // namespace

}  // namespace vigilon::app

const vigilon::app::HtmlHelpFunctions* vigilon_html_help_functions() {
    return &vigilon::app::kFunctions;
}
