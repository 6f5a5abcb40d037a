#!/usr/bin/env python3
"""A screen reader's view of the designer, through the desktop's accessibility bus.

With the desktop's accessibility services on a session bus of its own
(tests/atspi_session.py), the designer starts on the display and a client
made with pyatspi finds it: the palette as a tool bar of page tabs and
toggle buttons, the inspector's rows as a table of name and value cells
named after the selection, the tree of the form's components, and the
designed form as a window of its own. It presses the palette's Button
through the Action interface and hears the button go down, clicks the
designed form with the registry's synthesised input and finds the dropped
button on the form, in the tree and in the inspector's table. Prints how
long a walk of the whole application takes.

Usage: test_designer_accessibility.py DESIGNER   (exit 77 without a display
or without pyatspi and the accessibility services)
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import atspi_session as at  # noqa: E402


def cells(table):
    """The inspector's rows as (name, value) pairs, in order."""
    parts = at.children(table)
    return [(parts[i].name, parts[i + 1].name) for i in range(0, len(parts) - 1, 2)]


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("no display: the designer's window is not tried")
        return at.SKIPPED
    if not at.system_python(argv):
        print("python3-dbus is missing")
        return at.SKIPPED
    designer = os.path.abspath(argv[1])
    with tempfile.TemporaryDirectory() as folder:
        daemon, address = at.start_bus(folder)
        program = None
        try:
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
            if at.enable_accessibility(address) is None:
                return at.SKIPPED
            try:
                import pyatspi
            except ImportError:
                print("python3-pyatspi is missing")
                return at.SKIPPED
            env = dict(os.environ, FOLIO_SCALE="1", HOME=folder)
            env.pop("FOLIO_ACCESSIBILITY", None)
            env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
            heard = []
            pyatspi.Registry.registerEventListener(
                lambda e: heard.append((e.type, e.source.name, e.detail1)),
                "object:state-changed:checked")
            program = subprocess.Popen([designer], cwd=folder, env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            result = at.Failures()
            app = at.find_application(pyatspi, os.path.basename(designer), 20)
            if app is None:
                print("FAIL the designer never showed on the accessibility bus")
                return 1
            frames = {f.name: f for f in at.children(app)}
            result.check("Folio designer: Form1" in frames, "the designer's window is a frame")
            result.check("Form1" in frames, "the designed form is a window of its own")

            palette = pyatspi.findDescendant(
                app, lambda n: n.getRole() == pyatspi.ROLE_TOOL_BAR and
                n.name == "Component palette")
            if palette is None:
                print("FAIL no palette in the tree")
                return 1
            parts = at.children(palette)
            pages = [p for p in parts if p.getRole() == pyatspi.ROLE_PAGE_TAB_LIST]
            result.check(len(pages) == 1 and
                         {"Standard", "Marrow", "Samples"} <= {t.name for t in at.children(pages[0])},
                         "the palette's pages are page tabs")
            buttons = [p for p in parts if p.getRole() == pyatspi.ROLE_TOGGLE_BUTTON]
            result.check(buttons and buttons[0].name == "Pointer" and
                         buttons[0].getState().contains(pyatspi.STATE_CHECKED),
                         "the arrow comes first and is down")
            standard = next(t for t in at.children(pages[0]) if t.name == "Standard")
            action = standard.queryAction()
            action.doAction(0)
            result.check(at.pump_until(lambda: standard.getState().contains(
                pyatspi.STATE_SELECTED), 10), "the Standard page shows after its press")
            button = next((b for b in at.children(palette) if b.name == "Button"), None)
            if not result.check(button is not None, "the Standard page has a Button"):
                return 1
            action = button.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            result.check(names == ["press"], "a palette button's action")
            action.doAction(names.index("press"))
            result.check(at.pump_until(
                lambda: ("object:state-changed:checked", "Button", 1) in heard, 10),
                "the Button goes down, and is heard")
            result.check(button.getState().contains(pyatspi.STATE_CHECKED), "Button is down")

            table = pyatspi.findDescendant(
                app, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.name == "Form1: TForm")
            if not result.check(table is not None, "the inspector's table names the form"):
                return 1
            rows = dict(cells(table))
            result.check(rows.get("Name") == "Form1" and rows.get("Caption") == "Form1",
                         "the inspector's rows read as name and value")
            result.check(all(c.getRole() == pyatspi.ROLE_TABLE_CELL for c in at.children(table)),
                         "the rows are cells")
            # The same rows through the Table interface, by row and column.
            grid = table.queryTable()
            result.check(grid.nColumns == 2 and grid.nRows == len(rows),
                         f"the table has two columns and a row per property "
                         f"({grid.nRows} x {grid.nColumns})")
            result.check([grid.getColumnDescription(c) for c in range(2)] == ["Property", "Value"],
                         "the columns are named")
            by_place = {grid.getAccessibleAt(r, 0).name: grid.getAccessibleAt(r, 1).name
                        for r in range(grid.nRows)}
            result.check(by_place == rows, "cell (row, column) reads as the row's name and value")
            caption = next(r for r in range(grid.nRows) if grid.getAccessibleAt(r, 0).name ==
                           "Caption")
            result.check(grid.getRowDescription(caption) == "Caption" and
                         grid.getIndexAt(caption, 1) == 2 * caption + 1 and
                         grid.getRowAtIndex(2 * caption + 1) == caption,
                         "a row is known by its property and its cells by index")

            # The designed form, clicked where the button goes.
            form = frames.get("Form1")
            box = form.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            pyatspi.Registry.generateMouseEvent(box.x + 60, box.y + 60, "b1c")

            def dropped():
                return any(c.name == "Button1" and c.getRole() == pyatspi.ROLE_PUSH_BUTTON
                           for c in at.children(form))
            result.check(at.pump_until(dropped, 10), "the dropped button is on the designed form")
            tree = pyatspi.findDescendant(
                app, lambda n: n.getRole() == pyatspi.ROLE_TREE and
                n.name == "Components of the form")
            lines = [line.name for line in at.children(tree)] if tree else []
            result.check(lines[:2] == ["Form1: TForm", "Button1: TButton"],
                         "the tree lists the form and the button")
            result.check(at.pump_until(lambda: pyatspi.findDescendant(
                app, lambda n: n.getRole() == pyatspi.ROLE_TABLE and
                n.name == "Button1: TButton") is not None, 10),
                "the inspector's table shows the button")

            start = time.monotonic()
            count = at.walk(app)
            took = (time.monotonic() - start) * 1000
            print(f"walked {count} objects (role, name, states, children) in {took:.0f} ms")
            result.check(count >= 80, "the walk met the whole designer")
            return 1 if result.count else 0
        finally:
            at.stop(program, daemon)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
