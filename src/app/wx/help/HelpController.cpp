#include "HelpController.h"

#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/notebook.h>
#include <wx/treectrl.h>

namespace vigilon::app {

namespace {

wxNotebook* FindNotebook(wxWindow* window) {
    if (auto* notebook = dynamic_cast<wxNotebook*>(window)) return notebook;
    for (wxWindow* child : window->GetChildren())
        if (wxNotebook* found = FindNotebook(child)) return found;
    return nullptr;
}

class HelpFrame : public wxHtmlHelpFrame {
public:
    explicit HelpFrame(wxHtmlHelpData* data) : wxHtmlHelpFrame(data) {}

    bool Show(bool show = true) override {
        if (show) LayOutEveryPage();
        return wxHtmlHelpFrame::Show(show);
    }

private:
    // Every page gets about its size (GTK fits the one in front exactly once
    // it shows) and its controls their places.
    void LayOutEveryPage() {
        // Before its first showing the frame has not yet handed its size on.
        wxHtmlHelpWindow* help = GetHelpWindow();
        if (help == nullptr) return;
        help->SetSize(GetClientSize());
        help->Layout();
        wxNotebook* notebook = FindNotebook(help);
        if (notebook == nullptr) return;
        const wxSize pageSize = notebook->GetClientSize();
        for (std::size_t i = 0; i < notebook->GetPageCount(); ++i) {
            wxWindow* page = notebook->GetPage(i);
            page->SetSize(pageSize);
            page->Layout();
        }
    }
};

}  // namespace

bool HelpController::DisplayContents() {
    const bool shown = wxHtmlHelpController::DisplayContents();
    // The contents start folded up to the book's title, hiding every topic.
    if (shown && GetHelpWindow() != nullptr && GetHelpWindow()->GetTreeCtrl() != nullptr)
        GetHelpWindow()->GetTreeCtrl()->ExpandAll();
    return shown;
}

wxHtmlHelpFrame* HelpController::CreateHelpFrame(wxHtmlHelpData* data) {
    // As the toolkit's own does, with the frame of ours.
    auto* frame = new HelpFrame(data);
    frame->SetController(this);
    frame->SetTitleFormat(m_titleFormat);
    frame->Create(GetParentWindow(), wxID_ANY, wxEmptyString, m_FrameStyle, m_Config, m_ConfigRoot);
    frame->SetShouldPreventAppExit(m_shouldPreventAppExit);
    m_helpFrame = frame;
    return frame;
}

}  // namespace vigilon::app
