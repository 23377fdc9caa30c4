#include "CAboutBox.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "MessageBox.h"
#include "OwnViewerTexts.h"
#include "Pictures.h"
#include "ProgramVersion.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

constexpr int kTemplateId = 100;

// A control's rectangle given in dialog units.
wxPoint At(wxWindow* dialog, int x, int y) { return wxDLG_UNIT(dialog, wxPoint(x, y)); }
wxSize Sized(wxWindow* dialog, int width, int height) {
    return wxDLG_UNIT(dialog, wxSize(width, height));
}

// Never narrower than its text needs: the desktop's font may be wider than
// the one the layout was drawn for.
void KeepTextWhole(wxWindow* control) {
    const wxSize best = control->GetBestSize();
    const wxSize size = control->GetSize();
    if (best.x > size.x) control->SetSize(wxSize(best.x, size.y));
}

}  // namespace

CAboutBox::CAboutBox(wxWindow* owner, ProgramLauncher& launcher)
    : wxDialog(owner, kTemplateId, ToWx(kAboutCaption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      launcher_(launcher) {
    // The frame first, so that the controls inside it are drawn over it.
    new wxStaticBox(this, wxID_ANY, wxString(), At(this, 7, 7), Sized(this, 221, 52));
    new wxStaticBitmap(this, wxID_ANY, PictureBundle(Picture::AppIcon), At(this, 11, 17));

    auto* version = new wxStaticText(this, wxID_ANY, wxString(), At(this, 38, 18),
                                     Sized(this, 72, 8), wxST_NO_AUTORESIZE);
    // No access-key processing: the text is shown exactly as it stands.
    version->SetLabelText(ToWx(AboutVersionLine()));
    KeepTextWhole(version);
    auto* notice = new wxStaticText(this, wxID_ANY, wxString(), At(this, 38, 28),
                                    Sized(this, 115, 8), wxST_NO_AUTORESIZE);
    notice->SetLabelText(ToWx(kNoticeLine));
    KeepTextWhole(notice);

    auto* ok = new wxButton(this, wxID_OK, "OK", At(this, 172, 16), Sized(this, 50, 14));
    ok->SetDefault();
    auto* webSite = new wxButton(this, kWebSiteButtonId, ToWx(kWebSiteAddress), At(this, 38, 40),
                                 Sized(this, 93, 14));
    KeepTextWhole(webSite);
    webSite->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OpenWebSite(); });

    SetClientSize(Sized(this, 235, 66));
    // Opened from the tray, the owner may be hidden: the box then stands alone.
    if (owner != nullptr && owner->IsShown())
        CentreOnParent();
    else
        CentreOnScreen();
    ok->SetFocus();
}

void CAboutBox::OpenWebSite() {
    // The desktop's handler for web addresses; the box stays open. Without
    // one, a box of the program's gives the address to copy. The report
    // comes later, maybe after this box has closed: it needs nothing of it.
    launcher_.OpenWatched(kWebSiteAddress, [] { ShowWebAddressBox(); });
}

void ShowWebAddressBox() {
    MessageBox box(wxGetActiveWindow(), NoBrowserMessage(kWebSiteAddress), kAppName,
                   MessageIcon::Information, MessageBox::Buttons::Ok, true);
    box.ShowModal();
}

void ShowAboutBox(wxWindow* owner, ProgramLauncher& launcher) {
    CAboutBox box(owner, launcher);
    box.ShowModal();
}

}  // namespace vigilon::app
