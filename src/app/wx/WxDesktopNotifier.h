#pragma once

#include "DesktopNotifier.h"

namespace vigilon::app {

// Desktop notifications through wx, which on GTK hands them to the desktop's
// notification service (org.freedesktop.Notifications, by libnotify). Each
// notice shows the tray picture of its state. Where no service answers,
// nothing shows and nothing is said: never a message box.
class WxDesktopNotifier : public DesktopNotifier {
public:
    bool Notify(const DesktopNotice& notice) override;
};

}  // namespace vigilon::app
