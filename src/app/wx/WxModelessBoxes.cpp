#include "WxModelessBoxes.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "WxText.h"

namespace vigilon::app {

namespace {

wxArtID ArtFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return wxART_INFORMATION;
        case MessageIcon::Question: return wxART_QUESTION;
        case MessageIcon::Stop: return wxART_ERROR;
        case MessageIcon::Exclamation:
        case MessageIcon::None: break;
    }
    return wxART_WARNING;
}

}  // namespace

WxModelessBoxes::~WxModelessBoxes() {
    for (wxDialog* box : open_) box->Destroy();
}

void WxModelessBoxes::Open(const std::string& text, MessageIcon icon, std::function<void()> whenClosed) {
    auto* box = new wxDialog(nullptr, wxID_ANY, kAppName, wxDefaultPosition, wxDefaultSize,
                             wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(box, wxID_ANY, wxArtProvider::GetBitmap(ArtFor(icon), wxART_MESSAGE_BOX)), 0,
             wxALL, 10);
    auto* message = new wxStaticText(box, wxID_ANY, ToWx(text), wxDefaultPosition, wxDefaultSize,
                                     wxST_NO_AUTORESIZE);
    row->Add(message, 1, wxALL | wxALIGN_CENTER_VERTICAL, 10);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, 1, wxEXPAND);
    column->Add(box->CreateStdDialogButtonSizer(wxOK), 0, wxALL | wxALIGN_RIGHT, 10);
    box->SetSizerAndFit(column);

    open_.insert(box);
    auto close = [this, box, whenClosed = std::move(whenClosed)] {
        if (open_.erase(box) == 0) return;
        box->Destroy();
        whenClosed();
    };
    box->Bind(wxEVT_BUTTON, [close](wxCommandEvent&) { close(); }, wxID_OK);
    box->Bind(wxEVT_CLOSE_WINDOW, [close](wxCloseEvent&) { close(); });
    box->Bind(wxEVT_CHAR_HOOK, [close](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE || event.GetKeyCode() == WXK_RETURN) close();
        else event.Skip();
    });
    box->Centre();
    box->Show();
}

}  // namespace vigilon::app
