#pragma once

#include <memory>

#include <wx/notifmsg.h>

#include "DesktopNotifier.h"

namespace vigilon::app {

// Desktop notifications through wx's notification message: a balloon from
// a notification-area icon, which Windows 10 and 11 show as a notification
// in their own style and keep in the Action Center. Never waited for.
class WxDesktopNotifier : public DesktopNotifier {
public:
    bool Notify(const DesktopNotice& notice) override;

private:
    // wx takes a notice down with its object: the last one is kept until
    // the next replaces it.
    std::unique_ptr<wxNotificationMessage> shown_;
};

}  // namespace vigilon::app
