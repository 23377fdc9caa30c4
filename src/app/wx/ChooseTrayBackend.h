#pragma once

#include <memory>

#include "TrayBackend.h"

namespace vigilon::app {

// The notification area this desktop shows: a StatusNotifierItem when a
// StatusNotifierWatcher with a host is on the session bus (KDE Plasma, Xfce,
// Cinnamon, MATE, LXQt, GNOME with the AppIndicator extension, Wayland too),
// wx's XEmbed icon otherwise. Call once the toolkit runs.
std::unique_ptr<TrayBackend> ChooseTrayBackend();

}  // namespace vigilon::app
