#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader is told by the running program, through the desktop's accessibility bus.
#   accessible_text.py APP            prints "role<TAB>name<TAB>description" for each object of
#                                     the application named APP, menus left out
#   accessible_text.py --address      prints the accessibility bus's address
#   accessible_text.py --listen SECS  asks for the focus and object events, as a screen reader
#                                     does, and keeps asking for SECS seconds
import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"


def address():
    session = dbus.SessionBus()
    return session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")


def dump(bus, application):
    def walk(name, path, depth, inside):
        item = bus.get_object(name, path)
        role = item.GetRoleName(dbus_interface=ACCESSIBLE)
        if role in ("menu bar", "popup menu"):
            return
        label = str(item.Get(ACCESSIBLE, "Name", dbus_interface=PROPERTIES))
        if depth == 1:
            inside = label == application
            if not inside:
                return
        if depth > 1:
            description = str(item.Get(ACCESSIBLE, "Description", dbus_interface=PROPERTIES))
            print(f"{role}\t{label}\t{description}")
        for child_name, child_path in item.GetChildren(dbus_interface=ACCESSIBLE):
            walk(child_name, child_path, depth + 1, inside)

    walk("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", 0, False)


def listen(bus, seconds):
    registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/registry")
    for event in ("focus:", "object:"):
        registry.RegisterEvent(event, dbus.Array([], signature="s"), "",
                               dbus_interface="org.a11y.atspi.Registry")
    print("listening", flush=True)
    time.sleep(seconds)


def main():
    if sys.argv[1] == "--address":
        print(address())
    elif sys.argv[1] == "--listen":
        listen(dbus.bus.BusConnection(address()), float(sys.argv[2]))
    else:
        dump(dbus.bus.BusConnection(address()), sys.argv[1])


main()
