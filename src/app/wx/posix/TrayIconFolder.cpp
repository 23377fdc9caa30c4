#include "TrayIconFolder.h"

#include <glib.h>
#include <stdlib.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/log.h>

#include <filesystem>
#include <system_error>

#include "Pictures.h"
#include "TrayPresentation.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// Large enough for the usual panels (16 to 48 pixels) to shrink, never blow up.
constexpr int kPictureSide = 48;

std::string MakePrivateFolder() {
    // The runtime folder is the user's alone and emptied at log-out, so a
    // crash leaves nothing behind for long.
    for (const char* parent : {g_getenv("XDG_RUNTIME_DIR"), g_get_tmp_dir()}) {
        if (parent == nullptr || *parent == '\0') continue;
        std::string folder = std::string(parent) + "/vigilon-tray-XXXXXX";
        if (mkdtemp(folder.data()) != nullptr) return folder;
    }
    return {};
}

bool WritePng(Picture picture, const std::string& file) {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    const wxImage image = PictureBundle(picture, wxSize(kPictureSide, kPictureSide))
                              .GetBitmap(wxSize(kPictureSide, kPictureSide))
                              .ConvertToImage();
    // A failure is this object's to report (Ready), not a message box's.
    wxLogNull quiet;
    return image.IsOk() && image.SaveFile(ToWx(file), wxBITMAP_TYPE_PNG);
}

}  // namespace

TrayIconFolder::TrayIconFolder() : path_(MakePrivateFolder()) {
    if (path_.empty()) return;
    ready_ = true;
    for (const TrayLook& tray : kTrayLooks)
        ready_ = WritePng(tray.picture, path_ + "/" + tray.iconName + ".png") && ready_;
}

TrayIconFolder::~TrayIconFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TrayIconFolder::IconName(int iconId) {
    if (const TrayLook* tray = TrayLookForIcon(iconId)) return tray->iconName;
    return {};
}

}  // namespace vigilon::app
