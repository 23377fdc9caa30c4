// The yardstick of the window benchmark: the smallest wx program that shows
// a dialog of about the main window's size with a few controls, built with
// the same flags as Vigilon.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/wx.h>

namespace {

class MinimalApp : public wxApp {
public:
    bool OnInit() override {
        auto* dialog =
            new wxDialog(nullptr, wxID_ANY, "Minimal", wxDefaultPosition, wxSize(400, 320));
        new wxStaticText(dialog, wxID_ANY, "Target Address:", wxPoint(10, 10));
        new wxButton(dialog, wxID_OK, "Start", wxPoint(300, 270));
        dialog->Bind(wxEVT_CLOSE_WINDOW, [dialog](wxCloseEvent&) { dialog->Destroy(); });
        dialog->Show();
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP(MinimalApp);
