#!/usr/bin/env python3
"""Undo and redo in the designer's window leave the keyboard there.

With a window manager on the display (openbox, started here unless one
runs), the designer is driven through the X server by xdotool as a person
drives it: a click on the inspector's Caption row of the designed form, a
new caption typed and taken with Enter, then Ctrl+Z, Ctrl+Y, Ctrl+Z and
Ctrl+Shift+Z. The designed form's window title follows its caption, so each
step shows there. After each key the window with the keyboard must still be
the designer's, and text typed after them must reach the inspector: the
form's title takes it.

Usage: test_designer_undo_focus.py DESIGNER   (exit 77 without a display,
openbox or xdotool: skipped)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77

# The inspector's Caption row of a form, in the designer window's client
# coordinates at the standard resolution: its name and its value columns.
CAPTION_NAME = (58, 507)
CAPTION_VALUE = (203, 507)


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=10).stdout.strip()


def window(name, timeout=15):
    """The id of the visible window whose whole title is name, or None."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = xdotool("search", "--onlyvisible", "--name", f"^{name}$").split()
        if found:
            return found[0]
        time.sleep(0.1)
    return None


def focused_name():
    return xdotool("getwindowfocus", "getwindowname")


def click(win, point):
    xdotool("mousemove", "--window", win, point[0], point[1])
    time.sleep(0.15)
    xdotool("click", "1")
    time.sleep(0.3)


def replace_text(text):
    """Replaces what the focused box holds by text and takes it with Enter."""
    xdotool("key", "End", "shift+Home")
    xdotool("type", "--delay", "40", text)
    xdotool("key", "Return")


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("no display: the designer's windows are not tried")
        return SKIPPED
    for tool in ("openbox", "xdotool"):
        if not shutil.which(tool):
            print(f"{tool} is missing: the designer's windows are not tried")
            return SKIPPED
    designer = os.path.abspath(argv[1])
    failures = []
    processes = []
    with tempfile.TemporaryDirectory() as home:
        try:
            wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
            processes.append(wm)
            time.sleep(1.0)
            # Another window manager already running keeps the display.
            env = dict(os.environ, HOME=home, FOLIO_SCALE="1")
            processes.append(subprocess.Popen([designer], cwd=home, env=env,
                                              stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL))
            main_window = window("Folio designer: Form1")
            if not main_window or not window("Form1"):
                print("the designer's windows never showed")
                return 1
            time.sleep(1.0)

            def expect(step, title):
                # The window manager acts on a new window a moment after it
                # is mapped: the focus is looked at once it had the time.
                time.sleep(1.0)
                shown = window(title, timeout=5)
                focus = focused_name()
                print(f"{step}: form titled {title!r} {'shown' if shown else 'missing'}, "
                      f"keyboard in {focus!r}")
                if not shown:
                    failures.append(f"{step}: no window titled {title!r}")
                if not focus.startswith("Folio designer"):
                    failures.append(f"{step}: the keyboard went to {focus!r}")

            click(main_window, CAPTION_NAME)
            click(main_window, CAPTION_VALUE)
            replace_text("Alpha")
            expect("caption typed", "Alpha")
            xdotool("key", "ctrl+z")
            expect("Ctrl+Z", "Form1")
            xdotool("key", "ctrl+y")
            expect("Ctrl+Y", "Alpha")
            xdotool("key", "ctrl+z")
            expect("Ctrl+Z again", "Form1")
            xdotool("key", "ctrl+shift+z")
            expect("Ctrl+Shift+Z", "Alpha")
            # No click: the keys go wherever the keyboard is.
            replace_text("Beta")
            expect("caption typed after undo and redo", "Beta")
        finally:
            for p in reversed(processes):
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
    for f in failures:
        print("FAILED:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
