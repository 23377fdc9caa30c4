#pragma once

#include <wx/window.h>

#include <span>

namespace vigilon::app {

enum class ControlKind {
    Edit,        // single line, scrolls horizontally, no length limit
    DigitsEdit,  // centred; typed characters other than digits are refused
    CheckBox,
    Button,
    DefaultButton,  // pressed by Enter
    GroupBox,
    Label,
    ResultBox,    // read-only text centred in a sunken box
    LampPicture,  // the bright green status lamp
};

// One control of a dialog template; the rectangle is in dialog units.
struct TemplateItem {
    int id;  // wxID_ANY for controls nobody refers to
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

// Creates the items in order, which is also the tab order, placed in
// dialog units of the dialog's own (system) font, and sizes the dialog's
// client area in the same units.
void BuildFromTemplate(wxWindow* dialog, int clientWidth, int clientHeight,
                       std::span<const TemplateItem> items);

// The text shown in a ResultBox.
void SetResultBoxText(wxWindow* box, const wxString& text);
wxString GetResultBoxText(wxWindow* box);

}  // namespace vigilon::app
