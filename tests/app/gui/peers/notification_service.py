#!/usr/bin/python3
"""A desktop notification service for the tests: owns
org.freedesktop.Notifications on the session bus and reports every
notification it is given (see peer_lines):

  (event) ready
  (event) notify <app name> <summary> <body> <urgency> <has image> <id>
  (event) close <id>     the sender took a notification back
"""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

from peer_lines import emit, read_commands

NOTIFICATIONS = "org.freedesktop.Notifications"


class Service(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last_id = 0

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        self.last_id = replaces_id or self.last_id + 1
        urgency = int(hints["urgency"]) if "urgency" in hints else -1
        has_image = any(key in hints for key in ("image-data", "image_data", "icon_data"))
        emit("notify", app_name, summary, body, urgency, has_image, self.last_id)
        return self.last_id

    @dbus.service.method(NOTIFICATIONS, in_signature="u")
    def CloseNotification(self, notification_id):
        emit("close", notification_id)
        self.NotificationClosed(notification_id, 3)

    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NOTIFICATIONS, out_signature="ssss")
    def GetServerInformation(self):
        return ("vigilon-test-notifications", "Vigilon tests", "1", "1.2")

    @dbus.service.signal(NOTIFICATIONS, signature="uu")
    def NotificationClosed(self, notification_id, reason):
        pass


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    service = Service(bus)
    name = dbus.service.BusName(NOTIFICATIONS, bus)
    loop = GLib.MainLoop()
    read_commands(lambda words: emit("error", words[0], "unknown command"), loop)
    emit("ready")
    loop.run()
    del name, service


if __name__ == "__main__":
    main()
