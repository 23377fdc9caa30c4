#include "DialogTemplate.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "Pictures.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// Only digits and control characters (editing keys, shortcuts such as
// paste) get through; pasted text is checked when it is read instead.
void RefuseNonDigits(wxKeyEvent& event) {
    const wxChar typed = event.GetUnicodeKey();
    if (typed < WXK_SPACE || typed == WXK_DELETE || event.ControlDown() || event.AltDown() ||
        (typed >= '0' && typed <= '9'))
        event.Skip();
}

wxWindow* MakeResultBox(wxWindow* parent, int id, const wxPoint& at, const wxSize& size) {
    auto* box = new wxPanel(parent, id, at, size, wxBORDER_SUNKEN);
    auto* text = new wxStaticText(box, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                  wxALIGN_CENTRE_HORIZONTAL);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->AddStretchSpacer();
    sizer->Add(text, 0, wxALIGN_CENTRE_HORIZONTAL);
    sizer->AddStretchSpacer();
    box->SetSizer(sizer);
    return box;
}

// The system font is not the one the template was drawn for: a check box
// gets at least the size it needs (growing to the right and evenly up and
// down), and a one-line label whose text is wider than its rectangle grows to the left,
// keeping its right edge next to the control it names.
void FitToFont(wxWindow* control, ControlKind kind) {
    const wxRect rect = control->GetRect();
    const wxSize best = control->GetBestSize();
    wxRect fitted = rect;
    if (kind == ControlKind::CheckBox) {
        fitted.width = std::max(rect.width, best.x);
        if (best.y > rect.height) {
            fitted.y -= (best.y - rect.height) / 2;
            fitted.height = best.y;
        }
    }
    const bool oneLine = rect.height < 2 * control->GetCharHeight();
    if (kind == ControlKind::Label && oneLine && best.x > rect.width) {
        fitted.x -= best.x - rect.width;
        fitted.width = best.x;
    }
    if (fitted != rect) control->SetSize(fitted);
}

}  // namespace

void BuildFromTemplate(wxWindow* dialog, int clientWidth, int clientHeight,
                       std::span<const TemplateItem> items) {
    dialog->SetClientSize(wxDLG_UNIT(dialog, wxSize(clientWidth, clientHeight)));
    for (const TemplateItem& item : items) {
        const wxPoint at = wxDLG_UNIT(dialog, wxPoint(item.x, item.y));
        const wxSize size = wxDLG_UNIT(dialog, wxSize(item.width, item.height));
        const wxString text = ToWx(item.text);
        switch (item.kind) {
            case ControlKind::Edit: new wxTextCtrl(dialog, item.id, text, at, size); break;
            case ControlKind::DigitsEdit: {
                auto* box = new wxTextCtrl(dialog, item.id, text, at, size, wxTE_CENTRE);
                box->Bind(wxEVT_CHAR, RefuseNonDigits);
                break;
            }
            case ControlKind::CheckBox:
                FitToFont(new wxCheckBox(dialog, item.id, text, at, size), item.kind);
                break;
            case ControlKind::Button: new wxButton(dialog, item.id, text, at, size); break;
            case ControlKind::DefaultButton:
                (new wxButton(dialog, item.id, text, at, size))->SetDefault();
                break;
            case ControlKind::GroupBox: new wxStaticBox(dialog, item.id, text, at, size); break;
            case ControlKind::Label:
                // Long notes wrap within their rectangle.
                FitToFont(new wxStaticText(dialog, item.id, text, at, size, wxST_NO_AUTORESIZE),
                          item.kind);
                break;
            case ControlKind::ResultBox: MakeResultBox(dialog, item.id, at, size); break;
            case ControlKind::LampPicture:
                new wxStaticBitmap(dialog, item.id, PictureBundle(Picture::LampOnline, size), at,
                                   size);
                break;
        }
    }
}

void SetResultBoxText(wxWindow* box, const wxString& text) {
    if (box == nullptr || box->GetChildren().empty()) return;
    box->GetChildren().front()->SetLabel(text);
    box->Layout();
}

wxString GetResultBoxText(wxWindow* box) {
    if (box == nullptr || box->GetChildren().empty()) return wxString();
    return box->GetChildren().front()->GetLabel();
}

}  // namespace vigilon::app
