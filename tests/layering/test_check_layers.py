#!/usr/bin/env python3
"""The layer check finds includes that point up or sideways, and only those."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SCRIPT = os.path.join(SOURCE_ROOT, "scripts", "check_layers.py")
sys.path.insert(0, os.path.dirname(SCRIPT))
import check_layers  # noqa: E402

# A tiny tree with one header per layer, every include pointing down.
CLEAN_TREE = {
    "framework/core/Object.h": "#pragma once\n#include <string>\n",
    "framework/gfx/Canvas.h": '#include "framework/core/Object.h"\n',
    "framework/ui/controls/Control.h": '#include "framework/gfx/Canvas.h"\n',
    "framework/hosts/HeadlessHost.h": '#include "framework/ui/controls/Control.h"\n',
    "framework/hosts/SdlHost.cpp": "#include <SDL.h>\n",
    "framework/design/PropertyEditor.h": '#include "framework/ui/controls/Control.h"\n',
    "folio/Folio.h": '#include "framework/ui/controls/Control.h"\n',
    "folio/FolioPaint.cpp": '#include "Folio.h"\n',
    "samples/Cgauges.h": '#include "framework/ui/controls/Control.h"\n',
    "design/FolioEditors.h": ('#include "folio/Folio.h"\n#include "samples/Cgauges.h"\n'
                              '#include "framework/design/PropertyEditor.h"\n'),
    "package/Package.cpp": '#include "design/FolioEditors.h"\n',
    "apps/gallery/main.cpp": '#include "package/Package.cpp"\n#include <SDL.h>\n',
    "tests/folio/Inspector.h": '#include "folio/Folio.h"\n',
    "tests/folio/test_paint.cpp": (
        '#include "Inspector.h"\n#include "framework/hosts/HeadlessHost.h"\n'),
    "tests/ui/test_control.cpp": '#include "framework/hosts/HeadlessHost.h"\n',
    "tests/ui/Probes.h": '#include "framework/ui/controls/Control.h"\n',
    "tests/framework_design/test_editors.cpp": (
        '#include "ui/Probes.h"\n#include "framework/design/PropertyEditor.h"\n'),
    "tests/samples/test_gauge.cpp": (
        '#include "samples/Cgauges.h"\n#include "framework/design/PropertyEditor.h"\n'),
    "bench/folio/bench_paint.cpp": '#include "bench/folio/Icons.h"\n#include "folio/Folio.h"\n',
    "bench/folio/Icons.h": '#include "framework/gfx/Canvas.h"\n',
    "tests/install/consumer.cpp": '#include "folio/Folio.h"\n#include "samples/Cgauges.h"\n',
}

# (what is planted, file, line, words the fault must contain)
FAULTS = [
    ("framework names the bar", "framework/ui/Control.cpp", '#include "folio/Folio.h"',
     "framework/ui may not include folio/Folio.h"),
    ("core reaches up to gfx", "framework/core/Object.cpp", '#include "framework/gfx/Canvas.h"',
     "framework/core may not include framework/gfx/Canvas.h"),
    ("ui reaches up to the hosts", "framework/ui/Control.cpp",
     '#include "framework/hosts/HeadlessHost.h"', "may not include framework/hosts"),
    ("a relative path up from the framework", "framework/gfx/Canvas.cpp",
     '#include "../../samples/Cgauges.h"', "framework/gfx may not include samples/Cgauges.h"),
    ("the bar knows a sample", "folio/FolioPaint.cpp", '#include "samples/Cgauges.h"',
     "folio may not include samples/Cgauges.h"),
    ("a sample knows the bar", "samples/Cgauges.cpp", '#include "folio/Folio.h"',
     "samples may not include folio/Folio.h"),
    ("runtime code knows design time", "folio/FolioBar.cpp", '#include "design/FolioEditors.h"',
     "folio may not include design/FolioEditors.h"),
    ("design knows the package", "design/Editors.cpp", '#include "package/Package.cpp"',
     "design may not include package/Package.cpp"),
    ("the package knows the demo", "package/Package.cpp", '#include "apps/gallery/main.cpp"',
     "package may not include apps/gallery/main.cpp"),
    ("the bar knows the framework's design time", "folio/FolioBar.cpp",
     '#include "framework/design/PropertyEditor.h"',
     "folio may not include framework/design/PropertyEditor.h"),
    ("a sample knows the framework's design time", "samples/Cgauges.cpp",
     '#include "framework/design/PropertyEditor.h"', "samples may not include framework/design"),
    ("the controls know their design time", "framework/ui/Control.cpp",
     '#include "framework/design/PropertyEditor.h"', "framework/ui may not include"),
    ("design time knows the hosts", "framework/design/PropertyEditor.cpp",
     '#include "framework/hosts/HeadlessHost.h"', "framework/design may not include"),
    ("the bar includes SDL", "folio/FolioMouse.cpp", "#include <SDL.h>", "only framework/hosts"),
    ("ui includes SDL", "framework/ui/Input.cpp", "#include <SDL2/SDL_events.h>",
     "only framework/hosts"),
    ("a bar test uses a sample", "tests/folio/test_mouse.cpp", '#include "samples/Cgauges.h"',
     "tests/folio may not include samples/Cgauges.h"),
    ("a core test reaches the controls", "tests/core/test_object.cpp",
     '#include "framework/ui/controls/Control.h"', "tests/core may not include framework/ui/controls/Control.h"),
    ("a folder the check does not know", "tools/convert.cpp", '#include "folio/Folio.h"',
     "does not know where this folder sits"),
]


def write_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as out:
            out.write(text)


class LayerCheck(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="folio-layers-")
        self.addCleanup(shutil.rmtree, self.root)

    def test_clean_tree_passes(self):
        write_tree(self.root, CLEAN_TREE)
        self.assertEqual(check_layers.check(self.root), [])

    def test_each_planted_include_is_found_with_its_place(self):
        for what, path, line, words in FAULTS:
            with self.subTest(what):
                root = os.path.join(self.root, what.replace(" ", "_"))
                write_tree(root, CLEAN_TREE)
                write_tree(root, {path: "// Harmless first line.\n" + line + "\n"})
                faults = check_layers.check(root)
                self.assertEqual(len(faults), 1, faults)
                self.assertIn(words, faults[0])
                if "does not know" not in words:
                    self.assertTrue(faults[0].startswith(path + ":2:"), faults[0])

    def test_an_include_of_a_missing_file_or_a_system_header_is_not_a_layer_fault(self):
        write_tree(self.root, CLEAN_TREE)
        write_tree(self.root, {"framework/core/Object.cpp":
                               '#include "generated/Version.h"\n#include <vector>\n'})
        self.assertEqual(check_layers.check(self.root), [])

    def test_the_real_tree_passes_and_fails_once_an_upward_include_is_planted(self):
        # A copy of the project's own sources, checked by the script as ctest runs it.
        copy = os.path.join(self.root, "copy")
        shutil.copytree(SOURCE_ROOT, copy, ignore=shutil.ignore_patterns(
            "build", ".git", "*.png", "*.bmp"))
        run = subprocess.run([sys.executable, SCRIPT, copy], capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout)

        planted = os.path.join(copy, "framework", "core", "Object.h")
        with open(planted, "a", encoding="utf-8") as header:
            header.write('#include "folio/Folio.h"\n')
        run = subprocess.run([sys.executable, SCRIPT, copy], capture_output=True, text=True)
        self.assertEqual(run.returncode, 1, run.stdout)
        self.assertIn("framework/core/Object.h:", run.stdout)
        self.assertIn("may not include folio/Folio.h", run.stdout)


if __name__ == "__main__":
    unittest.main()
