#include "WxDesktopNotifier.h"

#include <wx/image.h>

#include <cstddef>

#include "BusText.h"
#include "Pictures.h"

namespace vigilon::app {

namespace {

constexpr int kPictureSide = 48;

// The state's tray picture, in RGBA. The alert and the recovery go at the
// same urgency, so the picture is what tells them apart.
NotificationPicture NoticePicture(NoticeKind kind) {
    const Picture picture =
        kind == NoticeKind::TargetDown ? Picture::TrayOffline : Picture::TrayOnline;
    const wxSize size(kPictureSide, kPictureSide);
    wxImage image = PictureBundle(picture, size).GetBitmap(size).ConvertToImage();
    NotificationPicture rgba;
    if (!image.IsOk()) return rgba;
    if (!image.HasAlpha()) image.InitAlpha();
    rgba.width = image.GetWidth();
    rgba.height = image.GetHeight();
    const unsigned char* colours = image.GetData();
    const unsigned char* alpha = image.GetAlpha();
    const int pixels = rgba.width * rgba.height;
    rgba.rgba.reserve(static_cast<std::size_t>(pixels) * 4);
    for (int i = 0; i < pixels; ++i)
        rgba.rgba.insert(rgba.rgba.end(),
                         {colours[3 * i], colours[3 * i + 1], colours[3 * i + 2], alpha[i]});
    return rgba;
}

}  // namespace

// The name the desktop shows the notices under.
WxDesktopNotifier::WxDesktopNotifier() : service_("Vigilon") {}

bool WxDesktopNotifier::Notify(const DesktopNotice& notice) {
    return service_.Send(
        {Utf8ForBus(notice.summary), Utf8ForBus(notice.body), NoticePicture(notice.kind)});
}

}  // namespace vigilon::app
