#!/usr/bin/env python3
"""Checks that every #include of the project's own headers points down the layers.

    framework/core < gfx < ui < hosts      the framework knows nothing above it
    framework/ui < framework/design         design-time support, beside the hosts
    folio/, samples/                        on the runtime framework, beside each other
    design/ < package/                      on the bar, the samples and framework/design
    apps/                                   on top
    examples/                               on the runtime framework, the bar and the samples

Only framework/hosts, its tests and apps/ may include SDL. Tests, benchmarks
and fuzz targets of a layer (tests/<layer>/...) may use what their layer may
use, the headless host they run on, the design-time support (to see what a
unit registers for a designer), the helpers of the framework's ui tests
and their own folder's helpers.

Usage: check_layers.py [SOURCE_ROOT]   (exit status 1 and one line per fault)
"""

import os
import re
import sys

# The framework a running program uses; framework/design is for designers and
# packages only, so runtime controls (folio/, samples/) never include it.
RUNTIME = ["framework/core", "framework/gfx", "framework/ui", "framework/hosts"]
FRAMEWORK = RUNTIME + ["framework/design"]

# What each layer may include besides itself. Order does not matter here.
BELOW = {
    "framework/core": [],
    "framework/gfx": RUNTIME[:1],
    "framework/ui": RUNTIME[:2],
    "framework/hosts": RUNTIME[:3],
    "framework/design": RUNTIME[:3],
    "folio": RUNTIME,
    "samples": RUNTIME,
    "design": FRAMEWORK + ["folio", "samples"],
    "package": FRAMEWORK + ["folio", "samples", "design"],
    "apps": FRAMEWORK + ["folio", "samples", "design", "package"],
    # Programs written as an application would be: the runtime only.
    "examples": RUNTIME + ["folio", "samples"],
}

# Folders of programs that exercise the layers; tests/ui is the harness of
# framework/ui. A harness folder not named after a layer (an outside-user
# example, a fuzz target of several readers) may use every library.
HARNESSES = ["tests", "bench", "fuzz"]
HARNESS_LAYER = {"core": "framework/core", "gfx": "framework/gfx", "ui": "framework/ui",
                 "hosts": "framework/hosts", "framework_design": "framework/design"}
# What every layer's tests may use besides their layer: the host they run
# on, the design-time support, and the probe components of the ui tests.
HARNESS_EXTRAS = ["framework/hosts", "framework/design"]
HARNESS_SHARED = {"tests": ["tests/ui"]}
LIBRARIES = BELOW["apps"]

# Folders that hold no C++ of their own or are not part of the source tree.
SKIPPED = {"build", "docs", "scripts", "cmake"}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".cxx")
# The window host's tests look at its windows through the window system.
SDL_ALLOWED = ["framework/hosts", "tests/hosts", "apps"]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def within(path, folder):
    return path == folder or path.startswith(folder + "/")


def layer_of(path):
    """The layer folder a project path belongs to, or None."""
    for layer in BELOW:
        if within(path, layer):
            return layer
    return None


def rules_for(path):
    """(what the file is called in messages, allowed folders) for a source file."""
    layer = layer_of(path)
    if layer:
        return layer, [layer] + BELOW[layer]
    parts = path.split("/")
    if parts[0] == "fuzz":
        # The fuzz targets drive readers of every layer and share one harness
        # (fuzz/FuzzTarget.h and fuzz/support/).
        return "fuzz", LIBRARIES + ["fuzz"]
    if parts[0] in HARNESSES and len(parts) > 2:
        harness = "/".join(parts[:2])
        layer = HARNESS_LAYER.get(parts[1], parts[1])
        if layer in BELOW:
            uses = [layer] + BELOW[layer]
            uses += [extra for extra in HARNESS_EXTRAS if extra not in uses]
            return harness, uses + HARNESS_SHARED.get(parts[0], []) + [harness]
        return harness, LIBRARIES + [harness]
    if parts[0] in HARNESSES:
        return parts[0], LIBRARIES + [parts[0]]
    return None, None


def resolve(root, including, name):
    """The project file a quoted include names, as a path from the root, or None.

    Searches as the compiler does: the including file's folder first, then the
    harness folder (tests/ and bench/ put themselves on the include path), then
    the source root.
    """
    folders = [os.path.dirname(including)]
    top = including.split("/")[0]
    if top in HARNESSES:
        folders.append(top)
    folders.append("")
    for folder in folders:
        candidate = os.path.normpath(os.path.join(folder, name))
        if candidate.startswith(".."):
            continue
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate.replace(os.sep, "/")
    return None


def is_sdl(name):
    return name.startswith("SDL") or name.startswith("SDL2/")


def source_files(root):
    for folder, subfolders, files in os.walk(root):
        relative = os.path.relpath(folder, root).replace(os.sep, "/")
        if relative == ".":
            subfolders[:] = [d for d in subfolders if d not in SKIPPED and not d.startswith(".")]
            relative = ""
        subfolders.sort()
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield (relative + "/" + name) if relative else name


def check(root):
    """Every fault found under root, as 'file:line: message' lines."""
    faults = []
    for path in source_files(root):
        owner, allowed = rules_for(path)
        if owner is None:
            faults.append(f"{path}: the layer check does not know where this folder sits; "
                          "add it to scripts/check_layers.py")
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, name = match.groups()
                where = f"{path}:{number}"
                if is_sdl(name):
                    if not any(within(path, folder) for folder in SDL_ALLOWED):
                        faults.append(f"{where}: {owner} may not include {name}; "
                                      "only framework/hosts and apps/ know SDL")
                    continue
                if kind != '"':
                    continue
                target = resolve(root, path, name)
                if target is None:
                    continue
                if not any(within(target, folder) for folder in allowed):
                    faults.append(f"{where}: {owner} may not include {target}; "
                                  f"it may use {', '.join(allowed)}")
    return faults


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    faults = check(os.path.abspath(root))
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layering")
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
