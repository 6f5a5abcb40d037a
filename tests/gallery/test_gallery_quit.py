#!/usr/bin/env python3
"""Ctrl+C in the terminal ends the gallery demo while its bar window is open.

Starts the gallery on the display, waits until it says that the bar window
is open (which it must say at once, even into a pipe), sends SIGINT and
expects the whole demo to end soon with 128 + 2, without going on to the
samples window.

Usage: test_gallery_quit.py GALLERY   (exit 77 without a display: skipped)
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("no display: the gallery's window is not tried")
        return SKIPPED
    gallery = os.path.abspath(argv[1])
    with tempfile.TemporaryDirectory() as folder:
        demo = subprocess.Popen([gallery], cwd=folder, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
        said = ""
        deadline = time.monotonic() + 30
        out = demo.stdout.fileno()
        while "bar gallery is open" not in said:
            if demo.poll() is not None or time.monotonic() > deadline:
                demo.kill()
                print("the gallery never said that its window was open:\n" + said)
                return 1
            if select.select([out], [], [], 0.1)[0]:
                said += os.read(out, 65536).decode(errors="replace")
        # Let the window come up and the loop go to sleep in it.
        time.sleep(1.0)
        sent = time.monotonic()
        demo.send_signal(signal.SIGINT)
        try:
            code = demo.wait(timeout=5)
        except subprocess.TimeoutExpired:
            demo.kill()
            print("the gallery went on for 5 s after Ctrl+C")
            return 1
        took = time.monotonic() - sent
        said += demo.stdout.read().decode(errors="replace")
    print(f"the gallery ended {took * 1000:.0f} ms after Ctrl+C with exit code {code}")
    if code != 128 + signal.SIGINT:
        print("expected exit code", 128 + signal.SIGINT)
        return 1
    if "samples gallery is open" in said:
        print("the gallery went on to the samples window")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
