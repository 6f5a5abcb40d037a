#!/usr/bin/env python3
"""The gallery follows the desktop's colour scheme while it runs.

On a session bus of its own, a stand-in for the desktop portal (made with
python3-dbusmock) answers the Settings interface: no preference at first.
The gallery starts on the display with that bus as its session bus and
shows its bar window in the classic scheme. The stand-in then reports a
dark colour scheme (SettingChanged), later no preference again; each time
the window, read back from the X server, must show the new scheme's button
face and (beside a few picture pixels) none of the old one. Prints how long each switch took to show.

Usage: test_gallery_scheme_switch.py GALLERY   (exit 77 without a display)
"""

import ctypes
import os
import select
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
PORTAL = "org.freedesktop.portal.Desktop"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
SETTINGS = "org.freedesktop.portal.Settings"
MOCK = "org.freedesktop.DBus.Mock"
# The gallery's bar form lies at (40, 40), 700 x 560, without a window manager.
FORM = (40, 40, 700, 560)
# Button faces (0xRRGGBB) of the classic and the dark scheme.
CLASSIC_FACE = 0xC0C0C0
DARK_FACE = 0x2D2D2D


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads what the X server shows, as a person would see it."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the display")
        self.root = self.x.XDefaultRootWindow(self.display)

    def counts(self, area, colours):
        """How many pixels of area have each of colours (0xRRGGBB)."""
        left, top, width, height = area
        image = self.x.XGetImage(self.display, self.root, left, top, width, height,
                                 0xFFFFFFFF, 2)
        if not image:
            return {c: 0 for c in colours}
        i = image.contents
        data = ctypes.string_at(i.data, i.bytes_per_line * i.height)
        found = {c: 0 for c in colours}
        for y in range(i.height):
            row = data[y * i.bytes_per_line: y * i.bytes_per_line + 4 * i.width]
            for x in range(0, len(row), 4):
                pixel = row[x] | (row[x + 1] << 8) | (row[x + 2] << 16)
                if pixel in found:
                    found[pixel] += 1
        self.x.XFree(i.data)
        self.x.XFree(image)
        return found


def start_bus(folder):
    config = os.path.join(folder, "bus.conf")
    with open(config, "w") as f:
        f.write('<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"'
                ' "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">'
                f"<busconfig><type>session</type><listen>unix:dir={folder}</listen>"
                "<auth>EXTERNAL</auth><policy context=\"default\">"
                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>")
    daemon = subprocess.Popen(["dbus-daemon", "--config-file=" + config, "--nofork",
                               "--print-address=1"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    address = daemon.stdout.readline().decode().strip()
    return daemon, address


def wait_for(check, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if check():
            return True
        time.sleep(0.005)
    return check()


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("no display: the gallery's window is not tried")
        return SKIPPED
    try:
        import dbus
    except ImportError:
        # Debian's python3-dbus and python3-dbusmock belong to the system's
        # interpreter, which may not be the first python3 on the path.
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            os.execv("/usr/bin/python3", ["/usr/bin/python3"] + argv)
        raise
    gallery = os.path.abspath(argv[1])
    screen = Screen()
    with tempfile.TemporaryDirectory() as folder:
        daemon, address = start_bus(folder)
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, FOLIO_SCALE="1")
        env.pop("FOLIO_COLOR_SCHEME", None)
        env.pop("GTK_THEME", None)
        env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        stand_in = subprocess.Popen([sys.executable, "-m", "dbusmock", PORTAL, PORTAL_PATH,
                                     SETTINGS], env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        demo = None
        try:
            bus = dbus.bus.BusConnection(address)
            if not wait_for(lambda: bus.name_has_owner(PORTAL), 10):
                print("the portal stand-in did not come up")
                return 1
            portal = bus.get_object(PORTAL, PORTAL_PATH)
            portal.AddMethod(SETTINGS, "ReadAll", "as", "a{sa{sv}}",
                             'ret = {"org.freedesktop.appearance": '
                             '{"color-scheme": dbus.UInt32(0), "contrast": dbus.UInt32(0)}}',
                             dbus_interface=MOCK)
            demo = subprocess.Popen([gallery], cwd=folder, env=env, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT)
            said = ""
            out = demo.stdout.fileno()
            deadline = time.monotonic() + 60
            while "bar gallery is open" not in said:
                if demo.poll() is not None or time.monotonic() > deadline:
                    print("the gallery never said that its window was open:\n" + said)
                    return 1
                if select.select([out], [], [], 0.1)[0]:
                    said += os.read(out, 65536).decode(errors="replace")

            def shows(face, other):
                # The pictures may hold a few pixels of either face colour.
                counts = screen.counts(FORM, (face, other))
                return counts[face] > 10000 and counts[other] * 100 < counts[face]

            if not wait_for(lambda: shows(CLASSIC_FACE, DARK_FACE), 20):
                print("the window did not show in the classic scheme:",
                      screen.counts(FORM, (CLASSIC_FACE, DARK_FACE)))
                return 1
            failed = False
            for value, face, other, name in ((1, DARK_FACE, CLASSIC_FACE, "dark"),
                                             (0, CLASSIC_FACE, DARK_FACE, "classic")):
                sent = time.monotonic()
                portal.EmitSignal(SETTINGS, "SettingChanged", "ssv",
                                  ["org.freedesktop.appearance", "color-scheme",
                                   dbus.UInt32(value, variant_level=1)], dbus_interface=MOCK)
                if wait_for(lambda: shows(face, other), 10):
                    print(f"the window showed the {name} scheme "
                          f"{(time.monotonic() - sent) * 1000:.0f} ms after the desktop said so")
                else:
                    print(f"the window did not switch to the {name} scheme:",
                          screen.counts(FORM, (face, other)))
                    failed = True
            return 1 if failed else 0
        finally:
            if demo and demo.poll() is None:
                demo.send_signal(signal.SIGTERM)
                try:
                    demo.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    demo.kill()
            stand_in.terminate()
            stand_in.wait()
            daemon.terminate()
            daemon.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
