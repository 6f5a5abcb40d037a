#!/usr/bin/env python3
"""Builds the Debian packages with CPack, unpacks them into a scratch root
with dpkg -x, and uses them as a person who installed them would: an
example built against the root with find_package(Folio) and with
pkg-config, run headless with its picture compared to the reference, and
the packaged designer running a design script with the packaged library.

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
EXAMPLE = "bar-groups"
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


def check_example(program, picture_dir, reference, compare):
    run([program, "--snapshots", picture_dir], cwd=picture_dir)
    run([compare, os.path.join(picture_dir, EXAMPLE + ".png"), reference])


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
        examples = os.path.join(source_dir, "examples")
        reference = os.path.join(examples, EXAMPLE, EXAMPLE + ".png")
        pictures = os.path.join(work, "pictures")
        os.makedirs(pictures)

        # With CMake: the examples' own project, finding the unpacked package.
        cmake_build = os.path.join(work, "cmake-build")
        run(["cmake", "-S", examples, "-B", cmake_build, "-G", "Ninja",
             f"-DCMAKE_PREFIX_PATH={usr}", f"-DCMAKE_CXX_COMPILER={cxx}",
             "-DCMAKE_BUILD_TYPE=Release"], env=environment)
        target = "example_" + EXAMPLE.replace("-", "_")
        run(["cmake", "--build", cmake_build, "--target", target], env=environment)
        check_example(os.path.join(cmake_build, EXAMPLE), pictures, reference, compare)

        # With pkg-config: one compiler line from folio-sdl.pc and folio.pc.
        environment["PKG_CONFIG_PATH"] = os.path.join(usr, "lib", "pkgconfig")
        flags = output(["pkg-config", "--cflags", "--libs", "folio-sdl"], env=environment).split()
        program = os.path.join(work, "pc-" + EXAMPLE)
        run([cxx, "-std=c++20", "-O1", "-I", examples,
             os.path.join(examples, EXAMPLE, "main.cpp"), "-o", program, *flags], env=environment)
        check_example(program, pictures, reference, compare)

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
