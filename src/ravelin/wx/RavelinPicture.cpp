#include "RavelinPicture.h"

#include <string>
#include <string_view>

namespace vigilon::ravelin {

std::string_view EmbeddedFileBytes(std::string_view name);

wxBitmapBundle RavelinPicture(wxSize size) {
    const std::string_view svg = EmbeddedFileBytes("ravelin.svg");
    if (svg.empty()) return {};
    // FromSVG parses a modifiable, NUL-terminated copy.
    std::string copy(svg);
    return wxBitmapBundle::FromSVG(copy.data(), size);
}

wxIconBundle RavelinIcons() {
    wxIconBundle icons;
    const wxBitmapBundle bundle = RavelinPicture(wxSize(32, 32));
    for (int side : {16, 24, 32, 48, 64, 128}) {
        wxIcon icon;
        icon.CopyFromBitmap(bundle.GetBitmap(wxSize(side, side)));
        icons.AddIcon(icon);
    }
    return icons;
}

}  // namespace vigilon::ravelin
