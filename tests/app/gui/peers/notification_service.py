#!/usr/bin/python3
"""A desktop notification service for the tests: owns
org.freedesktop.Notifications on the session bus and reports every call it
is given (see peer_lines):

  (event) ready
  (event) capabilities                 the sender asked what the service can do
  (event) notify <app name> <summary> <body> <urgency> <has image> <id>
                 <image size> <image sample>
  (event) close <id>     the sender took a notification back

<image size> is the image-data hint's "WIDTHxHEIGHT", <image sample> the
"R,G,B,A" of its pixel at half the width and three fifths of the height, read
as the hint says (rowstride, channels); both empty without that hint.

Arguments:
  --markup   the service reads bodies as markup (lists "body-markup")
  --silent   the service takes every call and never answers, as a hung one
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

from peer_lines import emit, read_commands

NOTIFICATIONS = "org.freedesktop.Notifications"


def describe_image(hints):
    if "image-data" not in hints:
        return "", ""
    width, height, rowstride, has_alpha, bits, channels, data = hints["image-data"]
    if bits != 8 or channels != (4 if has_alpha else 3) or len(data) < rowstride * (height - 1) + width * channels:
        return f"{width}x{height}", "malformed"
    at = rowstride * (height * 3 // 5) + channels * (width // 2)
    sample = [int(byte) for byte in data[at:at + channels]] + ([] if has_alpha else [255])
    return f"{width}x{height}", ",".join(str(value) for value in sample)


class Service(dbus.service.Object):
    def __init__(self, bus, markup, silent):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last_id = 0
        self.markup = markup
        self.silent = silent

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "fail"))
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout, reply, fail):
        self.last_id = replaces_id or self.last_id + 1
        urgency = int(hints["urgency"]) if "urgency" in hints else -1
        has_image = any(key in hints for key in ("image-data", "image_data", "icon_data"))
        emit("notify", app_name, summary, body, urgency, has_image, self.last_id, *describe_image(hints))
        if not self.silent:
            reply(self.last_id)

    @dbus.service.method(NOTIFICATIONS, in_signature="u")
    def CloseNotification(self, notification_id):
        emit("close", notification_id)
        self.NotificationClosed(notification_id, 3)

    @dbus.service.method(NOTIFICATIONS, out_signature="as", async_callbacks=("reply", "fail"))
    def GetCapabilities(self, reply, fail):
        emit("capabilities")
        if not self.silent:
            reply(["body", "body-markup"] if self.markup else ["body"])

    @dbus.service.method(NOTIFICATIONS, out_signature="ssss")
    def GetServerInformation(self):
        return ("vigilon-test-notifications", "Vigilon tests", "1", "1.2")

    @dbus.service.signal(NOTIFICATIONS, signature="uu")
    def NotificationClosed(self, notification_id, reason):
        pass


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    service = Service(bus, "--markup" in sys.argv[1:], "--silent" in sys.argv[1:])
    name = dbus.service.BusName(NOTIFICATIONS, bus)
    loop = GLib.MainLoop()
    read_commands(lambda words: emit("error", words[0], "unknown command"), loop)
    emit("ready")
    loop.run()
    del name, service


if __name__ == "__main__":
    main()
