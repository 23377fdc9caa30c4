#include "LogViewerFrame.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "LogEnd.h"
#include "OwnViewerTexts.h"
#include "Pictures.h"
#include "WindowTweaks.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// The end shown: plenty of days of a busy log, quick to read and lay out.
constexpr std::size_t kShownBytes = 256 * 1024;

// The modal dialog in front, if one runs: the window manager keeps it above
// the program's other windows, so the viewer must belong to it to be seen.
wxWindow* RunningModalDialog() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window);
            dialog != nullptr && dialog->IsModal() && dialog->IsActive())
            return dialog;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog != nullptr && dialog->IsModal())
            return dialog;
    return nullptr;
}

}  // namespace

LogViewerFrame::LogViewerFrame(wxWindow* owner, std::string path)
    : wxFrame(owner, wxID_ANY, kLogViewerCaption, wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | (owner != nullptr ? wxFRAME_FLOAT_ON_PARENT : 0)),
      path_(std::move(path)) {
    auto* panel = new wxPanel(this);
    auto* note = new wxStaticText(panel, wxID_ANY, kNoTextViewerNote);
    text_ = new wxTextCtrl(panel, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                           wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP);
    text_->SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
    auto* reload = new wxButton(panel, wxID_REFRESH, "&Reload");
    auto* close = new wxButton(panel, wxID_CLOSE, "&Close");

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(reload, 0, wxRIGHT, FromDIP(6));
    buttons->Add(close);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(note, 0, wxEXPAND | wxALL, FromDIP(10));
    column->Add(text_, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));
    column->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
    panel->SetSizer(column);

    SetIcons(AppIconBundle());
    SetClientSize(FromDIP(wxSize(640, 420)));
    note->Wrap(GetClientSize().x - FromDIP(20));
    panel->Layout();

    reload->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Reload(); });
    close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            Close();
        else
            event.Skip();
    });
    KeepOutOfModalHolds(*this);
    Reload();
    close->SetFocus();
}

void LogViewerFrame::Reload() {
    text_->ChangeValue(ToWx(ReadLogEnd(path_, kShownBytes)));
    // The newest lines are at the end.
    text_->ShowPosition(text_->GetLastPosition());
    text_->SetInsertionPointEnd();
}

WxLogViewer::~WxLogViewer() {
    if (frame_) frame_->Destroy();
}

void WxLogViewer::ShowLog(const std::string& path) {
    if (frame_) {
        frame_->SetPath(path);
        frame_->Reload();
    } else {
        frame_ = new LogViewerFrame(RunningModalDialog(), path);
        frame_->CentreOnScreen();
    }
    frame_->Show();
    frame_->Raise();
}

}  // namespace vigilon::app
