#!/usr/bin/env python3
"""Installs the built project into a temporary prefix, then builds a small
outside project against it twice (with find_package and with pkg-config),
runs both and checks the pictures they save.

Usage: test_install.py BUILD_DIR CXX "CXXFLAGS" "LDFLAGS"
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

from installed_headers import check_include_tree

HERE = os.path.dirname(os.path.abspath(__file__))
CONSUMER = os.path.join(HERE, "consumer")
FORM_SIZE = (240, 180)


def run(command, **options):
    print("+", " ".join(command), flush=True)
    subprocess.run(command, check=True, **options)


def png_size(path):
    with open(path, "rb") as picture:
        head = picture.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


def check_picture(path):
    size = png_size(path)
    if size != FORM_SIZE:
        raise AssertionError(f"{path} is {size[0]}x{size[1]}, the form is "
                             f"{FORM_SIZE[0]}x{FORM_SIZE[1]}")


def main(build_dir, cxx, cxx_flags, linker_flags):
    work = tempfile.mkdtemp(prefix="folio-install-")
    try:
        prefix = os.path.join(work, "prefix")
        run(["cmake", "--install", build_dir, "--prefix", prefix])
        count = check_include_tree(os.path.join(prefix, "include", "folio"))
        print(f"{count} public headers installed, each including only installed ones")

        # With CMake: find_package(Folio) and the Folio:: targets.
        consumer_build = os.path.join(work, "cmake-build")
        run(["cmake", "-S", CONSUMER, "-B", consumer_build, "-G", "Ninja",
             f"-DCMAKE_PREFIX_PATH={prefix}", f"-DCMAKE_CXX_COMPILER={cxx}",
             f"-DCMAKE_CXX_FLAGS={cxx_flags}", f"-DCMAKE_EXE_LINKER_FLAGS={linker_flags}"])
        run(["cmake", "--build", consumer_build])
        picture = os.path.join(work, "cmake.png")
        run([os.path.join(consumer_build, "consumer"), picture])
        check_picture(picture)

        # With pkg-config: one compiler line from folio.pc.
        libdirs = [d for d in ("lib", "lib64") if os.path.isdir(os.path.join(prefix, d))]
        pc_path = os.pathsep.join(os.path.join(prefix, d, "pkgconfig") for d in libdirs)
        environment = dict(os.environ, PKG_CONFIG_PATH=pc_path)
        flags = subprocess.run(["pkg-config", "--cflags", "--libs", "folio"], env=environment,
                               check=True, capture_output=True, text=True).stdout.split()
        program = os.path.join(work, "pc-consumer")
        run([cxx, "-std=c++20", *cxx_flags.split(), os.path.join(CONSUMER, "main.cpp"),
             "-o", program, *linker_flags.split(), *flags])
        picture = os.path.join(work, "pkg-config.png")
        run([program, picture])
        check_picture(picture)
        print("the installed package builds and runs an outside program")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
