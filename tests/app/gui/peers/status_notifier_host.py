#!/usr/bin/python3
"""A StatusNotifierWatcher and host for the tray tests.

Owns org.kde.StatusNotifierWatcher on the session bus and, unless started
with --no-host, registers itself as the host that shows the items. It reads
what a desktop's tray reads (the item's properties and its com.canonical.dbusmenu
menu) and clicks what a user would click. Commands and answers (see peer_lines):

  (event)   ready
  (event)   registered <service> <path>
  props     -> props <Name>=<value> ...        all org.kde.StatusNotifierItem properties
  layout    -> layout <id>|<type>|<visible>|<label> ...   the menu's top-level items
  click <label words...> -> click <id>         dbusmenu Event "clicked" on that item
  secondary -> secondary                       the item's SecondaryActivate (middle click)
"""
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

from peer_lines import emit, read_commands

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"


class Watcher(dbus.service.Object):
    def __init__(self, bus, host):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.bus = bus
        self.items = []  # (service, path)
        self.hosts = []
        if host:
            name = "org.kde.StatusNotifierHost-%d" % os.getpid()
            self.host_name = dbus.service.BusName(name, bus)
            self.hosts.append(name)

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its object path (on the caller's connection)
        # or a bus name (with the protocol's default path).
        if service.startswith("/"):
            service, path = sender, service
        else:
            path = "/StatusNotifierItem"
        self.items.append((service, path))
        self.StatusNotifierItemRegistered(service + path)
        emit("registered", service, path)

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierHost(self, service, sender=None):
        self.hosts.append(service)
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.signal(WATCHER)
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        if interface != WATCHER:
            raise dbus.exceptions.DBusException("no such interface", name="org.freedesktop.DBus.Error.UnknownInterface")
        return {
            "RegisteredStatusNotifierItems": dbus.Array([s + p for s, p in self.items], signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(bool(self.hosts)),
            "ProtocolVersion": dbus.Int32(0),
        }


class Host:
    def __init__(self, bus, watcher):
        self.bus = bus
        self.watcher = watcher

    def item(self):
        if not self.watcher.items:
            raise RuntimeError("no item registered")
        service, path = self.watcher.items[-1]
        return self.bus.get_object(service, path, introspect=False)

    def failed(self, command):
        return lambda error: emit("error", command, error.get_dbus_message() or str(error))

    # Every call is asynchronous: the item answers from the same main loop
    # that may be calling us.
    def props(self, on_reply):
        self.item().GetAll(ITEM, dbus_interface=dbus.PROPERTIES_IFACE,
                           reply_handler=on_reply, error_handler=self.failed("props"))

    def menu(self, on_layout):
        def with_props(props):
            service = self.watcher.items[-1][0]
            menu = self.bus.get_object(service, props["Menu"], introspect=False)
            menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU,
                           reply_handler=lambda revision, layout: on_layout(menu, layout),
                           error_handler=self.failed("layout"))
        self.props(with_props)

    def handle(self, words):
        command = words[0]
        if command == "props":
            self.props(lambda props: emit("props", *("%s=%s" % (k, props[k]) for k in sorted(props))))
        elif command == "layout":
            self.menu(lambda menu, layout: emit("layout", *(describe(child) for child in layout[2])))
        elif command == "click":
            label = " ".join(words[1:])

            def click(menu, layout):
                for child in layout[2]:
                    if child[1].get("label", "") == label:
                        menu.Event(child[0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                                   dbus_interface=MENU, reply_handler=lambda: emit("click", child[0]),
                                   error_handler=self.failed("click"))
                        return
                emit("error", "click", "no item labelled " + label)
            self.menu(click)
        elif command == "secondary":
            self.item().SecondaryActivate(0, 0, dbus_interface=ITEM, reply_handler=lambda: emit("secondary"),
                                          error_handler=self.failed("secondary"))
        else:
            emit("error", command, "unknown command")


def describe(child):
    item_id, props = child[0], child[1]
    return "%d|%s|%s|%s" % (item_id, props.get("type", "standard"), bool(props.get("visible", True)),
                            props.get("label", ""))


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus, host="--no-host" not in sys.argv)
    name = dbus.service.BusName(WATCHER, bus)
    loop = GLib.MainLoop()
    read_commands(Host(bus, watcher).handle, loop)
    emit("ready")
    loop.run()
    del name


if __name__ == "__main__":
    main()
