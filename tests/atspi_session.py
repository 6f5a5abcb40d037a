"""A desktop's accessibility services on a session bus of their own, for the
tests that read a program as a screen reader does (pyatspi).

The bus starts the desktop's services on demand (at-spi2-core: the
accessibility bus and its registry); accessibility is turned on as a desktop
does (org.a11y.Status IsEnabled), and the client finds the accessibility bus
through AT_SPI_BUS_ADDRESS rather than through what another session left on
the display.
"""

import os
import subprocess
import sys
import time

SKIPPED = 77


def start_bus(folder):
    """A session bus that starts the desktop's services when asked for them."""
    config = os.path.join(folder, "bus.conf")
    with open(config, "w") as f:
        f.write('<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"'
                ' "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">'
                f"<busconfig><type>session</type><listen>unix:dir={folder}</listen>"
                "<standard_session_servicedirs/><auth>EXTERNAL</auth>"
                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
    daemon = subprocess.Popen(["dbus-daemon", "--config-file=" + config, "--nofork",
                               "--print-address=1"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    return daemon, daemon.stdout.readline().decode().strip()


class Failures:
    def __init__(self):
        self.count = 0

    def check(self, condition, what):
        print(("ok   " if condition else "FAIL ") + what)
        if not condition:
            self.count += 1
        return condition


def system_python(argv):
    """Debian's python3-dbus, python3-gi and python3-pyatspi belong to the
    system's interpreter, which may not be the first python3 on the path:
    runs the test again under it when the modules are missing here. Returns
    False when they are missing there too."""
    try:
        import dbus  # noqa: F401
        import gi  # noqa: F401
        return True
    except ImportError:
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            os.execv("/usr/bin/python3", ["/usr/bin/python3"] + argv)
        return False


def enable_accessibility(address):
    """Turns accessibility on over the session bus at address, as a desktop
    does, and points this process's client at the accessibility bus. None
    when the desktop's services are not there."""
    import dbus
    session = dbus.bus.BusConnection(address)
    try:
        a11y = session.get_object("org.a11y.Bus", "/org/a11y/bus")
        dbus.Interface(a11y, "org.freedesktop.DBus.Properties").Set(
            "org.a11y.Status", "IsEnabled", dbus.Boolean(True))
        a11y_address = str(dbus.Interface(a11y, "org.a11y.Bus").GetAddress())
    except dbus.exceptions.DBusException as e:
        print("the accessibility bus is not there (at-spi2-core):", e)
        return None
    os.environ["AT_SPI_BUS_ADDRESS"] = a11y_address
    return a11y_address


def pump_until(check, seconds):
    """Serves the client's events until check() holds or time is up."""
    from gi.repository import GLib
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        if check():
            return True
        time.sleep(0.01)
    return check()


def find_application(pyatspi, name, seconds):
    """The desktop's application of that name, once it shows, or None."""
    found = []

    def look():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                found.append(app)
                return True
        return False

    return found[0] if pump_until(look, seconds) else None


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def walk(root):
    """Every node under root (itself too), reading each one's role and
    states as a screen reader's review does; returns their count."""
    count = 0
    stack = [root]
    while stack:
        node = stack.pop()
        count += 1
        node.getRole()
        node.getState()
        stack.extend(children(node))
    return count


def stop(program, daemon):
    """Ends the program under test (if it started) and the bus."""
    if program:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
    daemon.terminate()
    daemon.wait()
