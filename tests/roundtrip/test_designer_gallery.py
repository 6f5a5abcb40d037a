#!/usr/bin/env python3
"""The round trip between the two programs: a form designed and saved in
the designer shows in the gallery (--form FILE) with the same bars, groups
and items, and the form the gallery writes opens in the designer and, saved
again there, shows in the gallery just as before.

Usage: test_designer_gallery.py DESIGNER GALLERY
"""

import os
import shutil
import subprocess
import sys
import tempfile

# Dropped and filled through the designer's own input: the palette, the
# ellipsis of Groups in the inspector and the bar editor dialog.
DESIGN = """\
drop TFolio 16 16
set Height 300
edit Groups
dialog-click NewGroupButton
dialog-text Mail
dialog-key Enter
dialog-click AddItemButton
dialog-text Inbox
dialog-key Enter
dialog-click AddItemButton
dialog-text Sent items
dialog-key Enter
dialog-click NewGroupButton
dialog-text Places
dialog-key Enter
dialog-click OKButton
drop TCGauge 240 24
saveas designed.form
"""

DESIGNED_BARS = [
    "Bar Folio1: 2 groups",
    '  Group "Mail": "Inbox", "Sent items"',
    '  Group "Places": no items',
]


def run(command, cwd):
    print("+", " ".join(command), flush=True)
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    done = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, timeout=240)
    print(done.stdout, flush=True)
    if done.returncode != 0:
        raise AssertionError(f"{command[0]} ended with {done.returncode}")
    return done.stdout


def bars(output):
    """The gallery's description of the bars of the form it showed."""
    return [line for line in output.splitlines()
            if line.startswith("Bar ") or line.startswith("  Group ")]


def main(designer, gallery):
    work = tempfile.mkdtemp(prefix="folio-roundtrip-")
    try:
        # Designer to gallery.
        script = os.path.join(work, "design.script")
        with open(script, "w") as out:
            out.write(DESIGN)
        designed = os.path.join(work, "designed")
        run([designer, "--script", script, "--snapshots", designed], work)
        form = os.path.join(designed, "designed.form")
        with open(form) as text:
            if not text.read().startswith("object Form1: TForm1"):
                raise AssertionError("the designer did not write a text form")
        shown = bars(run([gallery, "--form", form, "--snapshots",
                          os.path.join(work, "shown")], work))
        if shown != DESIGNED_BARS:
            raise AssertionError(f"the gallery shows {shown}, designed were {DESIGNED_BARS}")

        # Gallery to designer, and back.
        written = os.path.join(work, "gallery")
        run([gallery, "--snapshots", written], work)
        gallery_form = os.path.join(written, "bar-gallery.form")
        before = bars(run([gallery, "--form", gallery_form, "--snapshots",
                           os.path.join(work, "before")], work))
        if len(before) < 4:
            raise AssertionError(f"the gallery's own form shows too little: {before}")
        again = os.path.join(work, "again.script")
        with open(again, "w") as out:
            out.write("select VerticalBar\n"
                      "expect Name VerticalBar\n"
                      "saveas resaved.form\n")
        resaved_dir = os.path.join(work, "resaved")
        run([designer, gallery_form, "--script", again, "--snapshots", resaved_dir], work)
        resaved = os.path.join(resaved_dir, "resaved.form")
        with open(resaved) as text:
            if not text.read().startswith("object BarGallery: TGalleryBarForm"):
                raise AssertionError("the designer lost the gallery form's class")
        after = bars(run([gallery, "--form", resaved, "--snapshots",
                          os.path.join(work, "after")], work))
        if after != before:
            raise AssertionError(f"saved again by the designer the form shows {after}, "
                                 f"before {before}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("The round trip came out right.")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
