#include "ValueField.h"

#include <wx/dcclient.h>
#include <wx/stattext.h>

namespace vigilon::app {

ValueField::ValueField(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size)
    : wxWindow(parent, id, position, size, wxBORDER_SUNKEN) {
    // The looks of a label on the window's background; every pixel is
    // painted here, so nothing erases it first.
    const wxVisualAttributes label = wxStaticText::GetClassDefaultAttributes();
    SetFont(label.font);
    SetForegroundColour(label.colFg);
    SetBackgroundColour(parent->GetBackgroundColour());
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ValueField::OnPaint, this);
}

void ValueField::SetLabel(const wxString& text) {
    if (text == text_) return;
    text_ = text;
    Refresh();
}

void ValueField::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetFont(GetFont());
    dc.SetTextForeground(GetForegroundColour());
    const wxSize extent = dc.GetTextExtent(text_);
    const wxSize inside = GetClientSize();
    dc.DrawText(text_, (inside.x - extent.x) / 2, (inside.y - extent.y) / 2);
}

}  // namespace vigilon::app
