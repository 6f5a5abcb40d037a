#!/usr/bin/env python3
"""The reference coverage check finds installed headers the reference leaves
out, and headers it lists that are not installed, and only those."""

import os
import shutil
import sys
import tempfile
import unittest

SOURCE_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_ROOT, "scripts"))
import check_docs_coverage  # noqa: E402

# An install script as CMake writes it: the static library, the headers of a
# file set under include/folio, and a CMake package file, which is no header.
INSTALL_SCRIPT = """
if(CMAKE_INSTALL_COMPONENT STREQUAL "dev" OR NOT CMAKE_INSTALL_COMPONENT)
  file(INSTALL DESTINATION "${{CMAKE_INSTALL_PREFIX}}/lib" TYPE STATIC_LIBRARY FILES "{build}/libcore.a")
endif()
if(CMAKE_INSTALL_COMPONENT STREQUAL "dev" OR NOT CMAKE_INSTALL_COMPONENT)
  file(INSTALL DESTINATION "${{CMAKE_INSTALL_PREFIX}}/include/folio/framework/core" TYPE FILE FILES
    "{source}/framework/core/Object.h"
    "{source}/framework/core/Streams.h"
    )
endif()
if(CMAKE_INSTALL_COMPONENT STREQUAL "dev" OR NOT CMAKE_INSTALL_COMPONENT)
  file(INSTALL DESTINATION "${{CMAKE_INSTALL_PREFIX}}/include/folio" TYPE FILE FILES "{source}/folio/Folio.h")
endif()
if(CMAKE_INSTALL_COMPONENT STREQUAL "dev" OR NOT CMAKE_INSTALL_COMPONENT)
  file(INSTALL DESTINATION "${{CMAKE_INSTALL_PREFIX}}/lib/cmake/Folio" TYPE FILE FILES "{source}/cmake/Helper.h")
endif()
"""

INSTALLED = ["folio/Folio.h", "framework/core/Object.h", "framework/core/Streams.h"]

# The shape of the project's Doxyfile: one list per area, continuation lines,
# comment lines between the lists, several names on one line.
COMPLETE = """PROJECT_NAME = Folio
INPUT                  = folio/Folio.h
# The core.
INPUT                 += framework/core/Object.h \\
                         framework/core/Streams.h
QUIET = YES
"""


class CoverageCheck(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        self.source = os.path.join(self.root, "src")
        self.build = os.path.join(self.root, "build")
        for header in INSTALLED + ["framework/core/Private.h", "cmake/Helper.h"]:
            path = os.path.join(self.source, header)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "w").close()
        os.makedirs(os.path.join(self.source, "docs"))
        os.makedirs(os.path.join(self.build, "framework", "core"))
        with open(os.path.join(self.build, "framework", "core", "cmake_install.cmake"), "w") as f:
            f.write(INSTALL_SCRIPT.format(source=self.source, build=self.build))

    def tearDown(self):
        shutil.rmtree(self.root)

    def run_check(self, doxyfile):
        with open(os.path.join(self.source, "docs", "Doxyfile"), "w") as f:
            f.write(doxyfile)
        installed = check_docs_coverage.installed_headers(self.build, self.source)
        inputs = check_docs_coverage.doxyfile_inputs(doxyfile)
        return check_docs_coverage.faults(installed, inputs)

    def test_reads_only_the_headers_installed_under_include(self):
        self.assertEqual(sorted(check_docs_coverage.installed_headers(self.build, self.source)),
                         INSTALLED)

    def test_finds_each_kind_of_fault(self):
        cases = [
            ("every installed header listed", COMPLETE, []),
            ("a header left out", COMPLETE.replace(" \\\n                         framework/core/Streams.h", ""),
             ["framework/core/Streams.h: installed, but not in docs/Doxyfile's INPUT"]),
            ("a header that is not installed",
             COMPLETE.replace("folio/Folio.h", "folio/Folio.h framework/core/Private.h"),
             ["framework/core/Private.h: in docs/Doxyfile's INPUT, but not an installed header"]),
            ("a header listed twice", COMPLETE + "INPUT += folio/Folio.h\n",
             ["folio/Folio.h: listed more than once in docs/Doxyfile's INPUT"]),
            ("an empty area list", COMPLETE + "# An area still to come.\nINPUT +=\n", []),
            ("a later INPUT = drops the lists before it",
             COMPLETE + "INPUT = folio/Folio.h\n",
             ["framework/core/Object.h: installed, but not in docs/Doxyfile's INPUT",
              "framework/core/Streams.h: installed, but not in docs/Doxyfile's INPUT"]),
            ("a comment line ends a list, as in Doxygen",
             COMPLETE.replace("framework/core/Object.h \\\n",
                              "framework/core/Object.h \\\n# framework/core/Private.h\n"),
             ["framework/core/Streams.h: installed, but not in docs/Doxyfile's INPUT"]),
        ]
        for name, doxyfile, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.run_check(doxyfile), expected)

    def test_exit_status_follows_the_faults(self):
        for doxyfile, status in [(COMPLETE, 0), ("INPUT = folio/Folio.h\n", 1)]:
            with self.subTest(status=status):
                with open(os.path.join(self.source, "docs", "Doxyfile"), "w") as f:
                    f.write(doxyfile)
                self.assertEqual(check_docs_coverage.main(["", self.source, self.build]), status)

    def test_a_build_tree_without_install_scripts_fails(self):
        with open(os.path.join(self.source, "docs", "Doxyfile"), "w") as f:
            f.write(COMPLETE)
        empty = os.path.join(self.root, "empty")
        os.makedirs(empty)
        self.assertEqual(check_docs_coverage.main(["", self.source, empty]), 1)


if __name__ == "__main__":
    unittest.main()
