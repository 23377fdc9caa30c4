#include "WxDesktopNotifier.h"

#include <wx/icon.h>
#include <wx/log.h>
#include <wx/notifmsg.h>

#include "Pictures.h"
#include "SessionBus.h"

namespace vigilon::app {

namespace {

constexpr int kPictureSide = 48;

wxIcon NoticePicture(NoticeKind kind) {
    const Picture picture = kind == NoticeKind::TargetDown ? Picture::TrayOffline : Picture::TrayOnline;
    wxIcon icon;
    icon.CopyFromBitmap(PictureBundle(picture, wxSize(kPictureSide, kPictureSide))
                            .GetBitmap(wxSize(kPictureSide, kPictureSide)));
    return icon;
}

}  // namespace

bool WxDesktopNotifier::Notify(const DesktopNotice& notice) {
    // Without the desktop's bus there is no service to answer, and asking
    // would start a bus of its own.
    if (!SessionBusKnown()) return false;
    // A failure is only the missing service's; keep it out of the user's way.
    wxLogNull quiet;
    // Both at normal urgency: a low one (wx's information flag) is not shown
    // as a banner by some desktops, and the recovery matters as much as the
    // alert. The picture tells them apart.
    wxNotificationMessage message(wxString::FromUTF8(notice.summary), wxString::FromUTF8(notice.body), nullptr,
                                  wxICON_WARNING);
    message.SetIcon(NoticePicture(notice.kind));
    // The notification stays on the desktop after message goes: wx then
    // only lets go of it.
    return message.Show();
}

}  // namespace vigilon::app
