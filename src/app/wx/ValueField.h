#pragma once

#include <wx/window.h>

namespace vigilon::app {

// One value shown centred in a sunken box, drawn by the field itself. The
// main window's values change every second; a GTK label given a new text
// asks the whole window to measure and lay itself out again, while this
// only redraws its own box. The text is shown as it is: an '&' is no
// mnemonic.
class ValueField : public wxWindow {
public:
    ValueField(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size);

    // Redraws only when the text differs from the one shown.
    void SetLabel(const wxString& text) override;
    wxString GetLabel() const override { return text_; }

private:
    void OnPaint(wxPaintEvent& event);

    wxString text_;
};

}  // namespace vigilon::app
