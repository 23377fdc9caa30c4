// Opens a dialog with the Windows wxWidgets and closes it after the
// milliseconds given: the exit code says whether every part it touched
// (core, adv, html, PNG through libpng and zlib, libcurl) worked.
#include <curl/curl.h>
#include <wx/fs_arc.h>
#include <wx/html/helpctrl.h>
#include <wx/mstream.h>
#include <wx/taskbar.h>
#include <wx/wx.h>

namespace {

// A picture written as PNG and read back proves libpng and zlib are in.
wxImage PngRoundTrip() {
    wxImage image(32, 32);
    image.SetRGB(wxRect(0, 0, 32, 32), 0, 128, 64);
    wxMemoryOutputStream out;
    if (!image.SaveFile(out, wxBITMAP_TYPE_PNG)) return {};
    wxMemoryInputStream in(out);
    return wxImage(in, wxBITMAP_TYPE_PNG);
}

class SmokeApp : public wxApp {
public:
    bool OnInit() override {
        if (argc > 1) wxString(argv[1]).ToLong(&openMs_);
        wxImage::AddHandler(new wxPNGHandler);
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
        return true;
    }

    int OnRun() override {
        const wxImage picture = PngRoundTrip();
        if (!picture.IsOk() || picture.GetRed(5, 5) != 0 || picture.GetGreen(5, 5) != 128) return 2;

        wxTaskBarIcon tray;
        if (!tray.SetIcon(wxBitmapBundle(wxBitmap(picture)), "Vigilon")) return 3;
        wxHtmlHelpController help(wxHF_DEFAULT_STYLE);

        wxDialog dialog(nullptr, wxID_ANY, "Vigilon on Windows");
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(new wxStaticBitmap(&dialog, wxID_ANY, wxBitmap(picture)), 0, wxALL, 8);
        sizer->Add(new wxStaticText(&dialog, wxID_ANY,
                                    wxString::Format("%s\n%s\nlibcurl %s", wxVERSION_STRING,
                                                     wxGetOsDescription(), curl_version())),
                   0, wxALL, 8);
        sizer->Add(dialog.CreateStdDialogButtonSizer(wxOK), 0, wxALL | wxEXPAND, 8);
        dialog.SetSizerAndFit(sizer);

        wxTimer timer(&dialog);
        dialog.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) { dialog.EndModal(wxID_OK); });
        timer.StartOnce(static_cast<int>(openMs_));
        const int closedWith = dialog.ShowModal();
        tray.RemoveIcon();
        return closedWith == wxID_OK ? 0 : 4;
    }

private:
    long openMs_ = 1500;
};

}  // namespace

wxIMPLEMENT_APP(SmokeApp);
