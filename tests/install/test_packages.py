#!/usr/bin/env python3
"""Builds the Debian packages with CPack, unpacks them into a scratch root
with dpkg -x, and uses them as a person who installed them would: every
example built against the root with find_package(Folio) and with
pkg-config, each run headless with its picture compared to the reference,
and the packaged designer running a design script with the packaged library.

Usage: test_packages.py BUILD_DIR SOURCE_DIR COMPARE CXX
Exits 77 (skipped) when dpkg-deb or cpack is missing.
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile

from installed_headers import check_include_tree

SKIP = 77
DESIGN_SCRIPT = "drop TFolio 16 16\ndrop TCGauge 200 16\nset Progress 40\nsaveas packaged.form\n"


def run(command, **options):
    print("+", " ".join(command), flush=True)
    return subprocess.run(command, check=True, **options)


def output(command, **options):
    return run(command, capture_output=True, text=True, **options).stdout


def check_packages(debs):
    """The fields and files of each package."""
    depends = {name: output(["dpkg-deb", "-f", deb, "Depends"]) for name, deb in debs.items()}
    for name, needed in (("libfolio-dev", "libsdl2-dev"), ("folio-designer", "libsdl2-2.0")):
        if needed not in depends[name]:
            raise AssertionError(f"{name} does not depend on {needed}: {depends[name]!r}")
    listing = output(["dpkg", "-c", debs["libfolio-dev"]])
    for wanted in ("./usr/lib/cmake/Folio/FolioConfig.cmake", "./usr/lib/pkgconfig/folio.pc",
                   "./usr/lib/libfolio_folio.a", "./usr/include/folio/folio/Folio.h"):
        if wanted not in listing:
            raise AssertionError(f"libfolio-dev does not hold {wanted}")
    listing = output(["dpkg", "-c", debs["folio-designer"]])
    for wanted in ("./usr/bin/folio-designer", "./usr/lib/folio/libfolio_package.so"):
        if wanted not in listing:
            raise AssertionError(f"folio-designer does not hold {wanted}")


def main(build_dir, source_dir, compare, cxx):
    if not shutil.which("dpkg-deb") or not shutil.which("cpack"):
        print("dpkg-deb or cpack is missing: the packages cannot be made here")
        return SKIP
    work = tempfile.mkdtemp(prefix="folio-packages-")
    try:
        run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"),
             "-B", os.path.join(work, "packages")])
        made = glob.glob(os.path.join(work, "packages", "*.deb"))
        debs = {name: next(deb for deb in made if os.path.basename(deb).startswith(name + "_"))
                for name in ("libfolio-dev", "folio-designer")}
        check_packages(debs)
        root = os.path.join(work, "root")
        for deb in debs.values():
            run(["dpkg", "-x", deb, root])
        usr = os.path.join(root, "usr")
        count = check_include_tree(os.path.join(usr, "include", "folio"))
        print(f"libfolio-dev holds {count} public headers, each including only installed ones")

        environment = {k: v for k, v in os.environ.items()
                       if not k.startswith("FOLIO_") and k != "DISPLAY"}
        environment["HOME"] = work
        registry = os.path.join(work, "registry")
        os.makedirs(registry, mode=0o700)
        environment["FOLIO_REGISTRY_DIR"] = registry
        examples_dir = os.path.join(source_dir, "examples")
        examples = sorted(name for name in os.listdir(examples_dir)
                          if os.path.isfile(os.path.join(examples_dir, name, "main.cpp")))
        form = os.path.join(examples_dir, "designed-form", "shortcuts.form")

        # With CMake: the examples' own project, finding the unpacked package.
        cmake_build = os.path.join(work, "cmake-build")
        run(["cmake", "-S", examples_dir, "-B", cmake_build, "-G", "Ninja",
             f"-DCMAKE_PREFIX_PATH={usr}", f"-DCMAKE_CXX_COMPILER={cxx}",
             "-DCMAKE_BUILD_TYPE=Release"], env=environment)
        run(["cmake", "--build", cmake_build], env=environment)

        # With pkg-config: one compiler line from folio-sdl.pc and folio.pc.
        environment["PKG_CONFIG_PATH"] = os.path.join(usr, "lib", "pkgconfig")
        flags = output(["pkg-config", "--cflags", "--libs", "folio-sdl"], env=environment).split()
        for name in examples:
            programs = {"find_package": os.path.join(cmake_build, name),
                        "pkg-config": os.path.join(work, "pc-" + name)}
            run([cxx, "-std=c++20", "-O1", "-I", examples_dir, f'-DFOLIO_EXAMPLE_FORM="{form}"',
                 os.path.join(examples_dir, name, "main.cpp"), "-o", programs["pkg-config"],
                 *flags], env=environment)
            for way, program in programs.items():
                # Each program starts from an empty registry, as on a first run.
                shutil.rmtree(registry)
                os.makedirs(registry, mode=0o700)
                pictures = os.path.join(work, "pictures", way)
                os.makedirs(pictures, exist_ok=True)
                run([program, "--snapshots", pictures], cwd=work, env=environment)
                run([compare, os.path.join(pictures, name + ".png"),
                     os.path.join(examples_dir, name, name + ".png")])
        print(f"{len(examples)} examples built with find_package and with pkg-config, "
              "each picture as its reference")

        # The packaged designer loads the packaged library: the bar and the
        # gauge come from it.
        script = os.path.join(work, "packaged.script")
        with open(script, "w") as file:
            file.write(DESIGN_SCRIPT)
        designed = os.path.join(work, "designed")
        run([os.path.join(usr, "bin", "folio-designer"), "--script", script,
             "--snapshots", designed], env=environment, cwd=work)
        with open(os.path.join(designed, "packaged.form")) as file:
            form = file.read()
        if "TFolio" not in form or "TCGauge" not in form:
            raise AssertionError("the packaged designer did not make the package's controls")
        print("the packages unpack, build and run an example both ways, and design a form")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
