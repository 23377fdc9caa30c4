#pragma once

#include "DesktopNotifier.h"
#include "NotificationServiceClient.h"

namespace vigilon::app {

// Desktop notifications through the desktop's notification service, never
// waited for: Notify returns at once, and a hung or absent service changes
// nothing else. Each notice shows the tray picture of its state. Where no
// service answers, nothing shows and nothing is said: never a message box.
class WxDesktopNotifier : public DesktopNotifier {
public:
    WxDesktopNotifier();

    // True when the notice was handed to the session bus; whether a service
    // shows it is known only later, and to no one.
    bool Notify(const DesktopNotice& notice) override;

private:
    NotificationServiceClient service_;
};

}  // namespace vigilon::app
