#include "Pictures.h"

#include <string>
#include <string_view>

namespace vigilon::app {

std::string_view EmbeddedFileBytes(std::string_view name);

namespace {

struct PictureFile {
    const char* name;
    wxSize size;
};

PictureFile FileOf(Picture picture) {
    switch (picture) {
        case Picture::AppIcon: return {"vigilon.svg", {32, 32}};
        case Picture::LampIdle: return {"lamp-idle.svg", {24, 23}};
        case Picture::LampOnline: return {"lamp-online.svg", {24, 23}};
        case Picture::LampTargetDown: return {"lamp-target-down.svg", {24, 23}};
        case Picture::TrayIdle: return {"tray-idle.svg", {16, 16}};
        case Picture::TrayOnline: return {"tray-online.svg", {16, 16}};
        case Picture::TrayOffline: return {"tray-offline.svg", {16, 16}};
        case Picture::Banner: break;
    }
    return {"banner.svg", {193, 30}};
}

}  // namespace

wxSize PictureSize(Picture picture) { return FileOf(picture).size; }

wxBitmapBundle PictureBundle(Picture picture) {
    return PictureBundle(picture, PictureSize(picture));
}

wxBitmapBundle PictureBundle(Picture picture, wxSize size) {
    const std::string_view svg = EmbeddedFileBytes(FileOf(picture).name);
    if (svg.empty()) return {};
    // FromSVG parses a modifiable, NUL-terminated copy.
    std::string copy(svg);
    return wxBitmapBundle::FromSVG(copy.data(), size);
}

wxIconBundle AppIconBundle() {
    wxIconBundle icons;
    const wxBitmapBundle bundle = PictureBundle(Picture::AppIcon);
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        wxIcon icon;
        icon.CopyFromBitmap(bundle.GetBitmap(wxSize(side, side)));
        icons.AddIcon(icon);
    }
    return icons;
}

}  // namespace vigilon::app
