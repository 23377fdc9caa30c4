#include "WxDesktopNotifier.h"

#include "WxText.h"

namespace vigilon::app {

bool WxDesktopNotifier::Notify(const DesktopNotice& notice) {
    shown_ = std::make_unique<wxNotificationMessage>(ToWx(notice.summary), ToWx(notice.body));
    // The alert warns; the recovery informs. The icon tells them apart.
    shown_->SetFlags(notice.kind == NoticeKind::TargetDown ? wxICON_WARNING : wxICON_INFORMATION);
    return shown_->Show(wxNotificationMessage::Timeout_Auto);
}

}  // namespace vigilon::app
