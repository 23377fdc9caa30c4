#include "MessageBox.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>

#include "TextWrap.h"
#include "WindowTweaks.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// Lines longer than this many average characters are hard to read.
constexpr int kReadableCharacters = 70;

wxArtID ArtFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return wxART_INFORMATION;
        case MessageIcon::Exclamation: return wxART_WARNING;
        case MessageIcon::Question: return wxART_QUESTION;
        case MessageIcon::Stop: return wxART_ERROR;
        case MessageIcon::None: break;
    }
    return wxArtID();
}

}  // namespace

int MaxMessageBoxWidth(const wxWindow* window) {
    const int index = window != nullptr ? wxDisplay::GetFromWindow(window) : wxNOT_FOUND;
    const wxRect area =
        wxDisplay(index != wxNOT_FOUND ? static_cast<unsigned>(index) : 0u).GetClientArea();
    return area.width * 2 / 3;
}

MessageBox::MessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
                       MessageIcon icon, Buttons buttons, bool selectable)
    : wxDialog(owner, wxID_ANY, ToWx(caption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      text_(text),
      icon_(icon),
      buttons_(buttons) {
    const int margin = FromDIP(12);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    int iconWidth = 0;
    if (icon != MessageIcon::None) {
        auto* picture = new wxStaticBitmap(
            this, wxID_ANY, wxArtProvider::GetBitmapBundle(ArtFor(icon), wxART_MESSAGE_BOX));
        row->Add(picture, 0, wxRIGHT, margin);
        iconWidth = picture->GetBestSize().x + margin;
    }

    // The text's room: the box's widest less the icon, the margins and the
    // window manager's border; narrower still where lines would be too long.
    const int room = std::min(
        MaxMessageBoxWidth(owner != nullptr ? owner : this) - iconWidth - 2 * margin - FromDIP(16),
        kReadableCharacters * GetCharWidth());
    const std::string wrapped = WrapText(
        text, std::max(room, 10 * GetCharWidth()),
        [this](std::string_view line) { return GetTextExtent(ToWx(std::string(line))).x; });
    auto* message = new wxStaticText(this, wxID_ANY, wxString());
    message->SetLabelText(ToWx(wrapped));  // an '&' in the text is no access key
    if (selectable) MakeLabelSelectable(*message);
    row->Add(message, 1, wxALIGN_CENTER_VERTICAL);

    auto* buttonRow = new wxStdDialogButtonSizer;
    if (buttons == Buttons::YesNo) {
        buttonRow->AddButton(new wxButton(this, wxID_YES));
        buttonRow->AddButton(new wxButton(this, wxID_NO));
        SetAffirmativeId(wxID_YES);
        SetEscapeId(wxID_NO);
    } else {
        buttonRow->AddButton(new wxButton(this, wxID_OK));
        SetEscapeId(wxID_OK);
    }
    buttonRow->Realize();

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, 1, wxEXPAND | wxALL, margin);
    column->Add(buttonRow, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, margin);
    SetSizerAndFit(column);

    wxWindow* first = FindWindow(buttons == Buttons::YesNo ? wxID_YES : wxID_OK);
    if (auto* button = dynamic_cast<wxButton*>(first)) {
        button->SetDefault();
        button->SetFocus();
    }
    // A hidden owner (the window in the tray) is passed over: the box stands alone.
    if (owner != nullptr && owner->IsShown())
        CentreOnParent();
    else
        CentreOnScreen();
}

}  // namespace vigilon::app
