#!/usr/bin/env python3
"""Checks that the API reference covers exactly the installed public headers.

The headers `cmake --install` puts under include/folio/ are the library's
public API; docs/Doxyfile's INPUT lists must name every one of them (an
installed header left out has no reference) and nothing else (a header that
is not installed is not public). The installed headers are read from the
install scripts of a configured build tree, so no build is needed; without
one the source tree is configured into a scratch folder first.

Usage: check_docs_coverage.py [SOURCE_ROOT [BUILD_DIR]]
       (exit status 1 and one line per fault)
"""

import os
import re
import subprocess
import sys
import tempfile

# file(INSTALL DESTINATION ".../include/folio/..." TYPE FILE FILES "a.h" ...)
INSTALL_BLOCK = re.compile(
    r'file\(INSTALL\s+DESTINATION\s+"[^"]*/include/folio(?:/[^"]*)?"\s+TYPE\s+FILE\s+'
    r'FILES((?:\s+"[^"]*")+)', re.S)
QUOTED = re.compile(r'"([^"]*)"')


def installed_headers(build_dir, source_root):
    """Headers the build's install scripts put under include/folio, relative
    to source_root."""
    source_root = os.path.realpath(source_root)
    headers = set()
    for folder, _, files in os.walk(build_dir):
        if "cmake_install.cmake" not in files:
            continue
        with open(os.path.join(folder, "cmake_install.cmake"), encoding="utf-8") as f:
            text = f.read()
        for block in INSTALL_BLOCK.finditer(text):
            for path in QUOTED.findall(block.group(1)):
                if not path.endswith(".h"):
                    continue
                real = os.path.realpath(path)
                if os.path.commonpath([real, source_root]) == source_root:
                    headers.add(os.path.relpath(real, source_root))
    return headers


def doxyfile_inputs(doxyfile_text):
    """The files INPUT and INPUT += name, continuation lines included. As in
    Doxygen, a comment line ends a list that a backslash continued."""
    inputs = []
    logical = []
    current = ""
    for line in doxyfile_text.splitlines():
        if line.lstrip().startswith("#"):
            if current:
                logical.append(current)
            current = ""
            continue
        current = (current + " " + line.strip()) if current else line.strip()
        if current.endswith("\\"):
            current = current[:-1].rstrip()
            continue
        logical.append(current)
        current = ""
    if current:
        logical.append(current)
    for entry in logical:
        match = re.match(r"INPUT\s*(\+?=)(.*)$", entry)
        if not match:
            continue
        if match.group(1) == "=":
            inputs = []
        inputs.extend(match.group(2).split())
    return inputs


def configure(source_root, scratch):
    subprocess.run(["cmake", "-S", source_root, "-B", scratch, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DFOLIO_BUILD_BENCH=OFF"],
                   check=True, stdout=subprocess.DEVNULL)


def faults(installed, inputs):
    listed = set(os.path.normpath(p) for p in inputs)
    result = []
    for header in sorted(installed - listed):
        result.append(f"{header}: installed, but not in docs/Doxyfile's INPUT")
    for header in sorted(listed - installed):
        result.append(f"{header}: in docs/Doxyfile's INPUT, but not an installed header")
    for header in sorted(set(p for p in inputs if inputs.count(p) > 1)):
        result.append(f"{header}: listed more than once in docs/Doxyfile's INPUT")
    return result


def main(argv):
    source_root = os.path.abspath(argv[1] if len(argv) > 1 else
                                  os.path.join(os.path.dirname(__file__), ".."))
    build_dir = argv[2] if len(argv) > 2 else None
    with open(os.path.join(source_root, "docs", "Doxyfile"), encoding="utf-8") as f:
        inputs = doxyfile_inputs(f.read())
    if build_dir:
        installed = installed_headers(build_dir, source_root)
    else:
        with tempfile.TemporaryDirectory() as scratch:
            configure(source_root, scratch)
            installed = installed_headers(scratch, source_root)
    if not installed:
        print("check_docs_coverage: the build tree installs no headers; is it configured?")
        return 1
    found = faults(installed, inputs)
    for line in found:
        print(line)
    if not found:
        print(f"API reference: all {len(installed)} installed headers are in docs/Doxyfile")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
