#!/usr/bin/env python3
"""A screen reader's view of the gallery, through the desktop's accessibility bus.

On a session bus of its own, with the desktop's accessibility services
(at-spi2-core: the accessibility bus and its registry, started by the bus
on demand), accessibility is turned on as a desktop does (org.a11y.Status
IsEnabled). The gallery starts on the display and a client made with
pyatspi, the library screen readers use, finds it among the desktop's
applications and walks to the vertical bar: the group names, the open
group's items, their roles and states. It opens another group through the
group's "expand" action and hears the state change and sees the new items;
it clicks an item and renames it with F2 through the registry's synthesised
input, and hears the name change. Prints how long a walk of the whole tree
takes, and how long the same tree takes in one answer of the cache interface.

Usage: test_gallery_accessibility.py GALLERY   (exit 77 without a display
or without pyatspi and the accessibility services)
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from atspi_session import (SKIPPED, Failures, enable_accessibility,  # noqa: E402
                           find_application, pump_until, start_bus, stop, system_python, walk)

GROUPS = ["Mail", "Calendar", "Places", "Notes"]
PLACES_ITEMS = ["Desktop", "Documents", "Pictures", "Music", "Downloads"]
KEY_F2 = 0xFFBF
KEY_RETURN = 0xFF0D


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("no display: the gallery's window is not tried")
        return SKIPPED
    if not system_python(argv):
        print("python3-dbus is missing")
        return SKIPPED
    import dbus
    gallery = os.path.abspath(argv[1])
    with tempfile.TemporaryDirectory() as folder:
        daemon, address = start_bus(folder)
        demo = None
        try:
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
            a11y_address = enable_accessibility(address)
            if a11y_address is None:
                return SKIPPED
            try:
                import pyatspi
            except ImportError:
                print("python3-pyatspi is missing")
                return SKIPPED
            env = dict(os.environ, FOLIO_SCALE="1")
            env.pop("FOLIO_ACCESSIBILITY", None)
            env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
            heard = []
            for kind in ("object:state-changed:expanded", "object:property-change:accessible-name"):
                pyatspi.Registry.registerEventListener(
                    lambda e: heard.append((e.type, e.source.name, e.detail1)), kind)

            demo = subprocess.Popen([gallery], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            result = Failures()
            app = find_application(pyatspi, os.path.basename(gallery), 20)
            if app is None:
                print("FAIL the gallery never showed on the accessibility bus")
                return 1
            result.check(app.getRoleName() == "application", "the application's role")
            result.check(app.get_toolkit_name() == "Folio", "the toolkit's name")
            frames = [app.getChildAtIndex(i) for i in range(app.childCount)]
            result.check(any(f.name == "Folio bar gallery" and f.getRole() == pyatspi.ROLE_FRAME
                             for f in frames), "the bar window is a frame with its caption")
            bar = pyatspi.findDescendant(
                app, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB_LIST and n.name == "VerticalBar")
            if bar is None:
                print("FAIL no vertical bar in the tree")
                return 1
            groups = [bar.getChildAtIndex(i) for i in range(bar.childCount)]
            result.check([g.name for g in groups] == GROUPS, "the group names")
            result.check(all(g.getRole() == pyatspi.ROLE_PAGE_TAB for g in groups),
                         "groups are page tabs")
            mail, places = groups[0], groups[2]
            result.check(mail.getState().contains(pyatspi.STATE_EXPANDED) and
                         mail.getState().contains(pyatspi.STATE_SELECTED), "Mail is open")
            result.check(places.getState().contains(pyatspi.STATE_COLLAPSED), "Places is closed")
            items = [mail.getChildAtIndex(i) for i in range(mail.childCount)]
            result.check("Inbox" in [i.name for i in items], "Mail's items")
            result.check(all(i.getRole() == pyatspi.ROLE_LIST_ITEM for i in items),
                         "items are list items")
            result.check(places.childCount == 0, "a closed group shows no items")

            action = places.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            result.check(names == ["press", "expand"], "a group's actions")
            action.doAction(names.index("expand"))
            result.check(pump_until(lambda: ("object:state-changed:expanded", "Places", 1) in heard,
                                    10), "Places is heard opening")
            result.check(("object:state-changed:expanded", "Mail", 0) in heard,
                         "Mail is heard closing")
            result.check(places.getState().contains(pyatspi.STATE_EXPANDED), "Places is open")
            result.check([places.getChildAtIndex(i).name for i in range(places.childCount)] ==
                         PLACES_ITEMS, "Places' items")
            result.check(mail.childCount == 0, "Mail's items are gone")

            item = places.getChildAtIndex(1)
            box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2,
                                                "b1c")
            pump_until(lambda: False, 0.5)
            pyatspi.Registry.generateKeyboardEvent(KEY_F2, None, pyatspi.KEY_SYM)
            pump_until(lambda: False, 0.5)
            pyatspi.Registry.generateKeyboardEvent(0, "Letters", pyatspi.KEY_STRING)
            pump_until(lambda: False, 0.3)
            pyatspi.Registry.generateKeyboardEvent(KEY_RETURN, None, pyatspi.KEY_SYM)
            result.check(pump_until(
                lambda: ("object:property-change:accessible-name", "Letters", 0) in heard, 10),
                "the rename is heard")
            result.check(item.name == "Letters", "the item has its new name")

            # The whole tree, as a screen reader's review of the window reads it.
            start = time.monotonic()
            count = walk(app)
            took = (time.monotonic() - start) * 1000
            print(f"walked {count} objects (role, name, states, children) in {took:.0f} ms")
            result.check(count >= 20, "the walk met the whole window")
            # The same tree in one answer, through the cache interface.
            try:
                bus = dbus.bus.BusConnection(a11y_address)
                desktop = bus.get_object("org.a11y.atspi.Registry",
                                         "/org/a11y/atspi/accessible/root")
                apps = dbus.Interface(desktop, "org.a11y.atspi.Accessible").GetChildren()
                owner = next(name for name, path in apps if dbus.Interface(
                    bus.get_object(name, path), "org.freedesktop.DBus.Properties").Get(
                        "org.a11y.atspi.Accessible", "Name") == os.path.basename(gallery))
                cache = dbus.Interface(bus.get_object(owner, "/org/a11y/atspi/cache"),
                                       "org.a11y.atspi.Cache")
                start = time.monotonic()
                items = cache.GetItems()
                took = (time.monotonic() - start) * 1000
                print(f"the cache gave {len(items)} objects in one answer in {took:.0f} ms")
                result.check(len(items) >= count, "the cache holds every object of the walk")
            except (dbus.exceptions.DBusException, StopIteration) as e:
                result.check(False, f"the cache answers ({e!r})")
            return 1 if result.count else 0
        finally:
            stop(demo, daemon)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
