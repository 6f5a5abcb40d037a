#!/usr/bin/env python3
"""Runs the examples as their users would, without a display.

  test_examples.py snapshot COMPARE EXAMPLE REFERENCE OUTDIR [--again]
      runs EXAMPLE with --snapshots OUTDIR and compares its picture with
      REFERENCE through COMPARE; with --again it runs a second time in the
      same home and registry, where the example must restore what the first
      run saved, and the picture must still match.
  test_examples.py missing-form EXAMPLE
      the designed-form example given a file that is not there.
  test_examples.py damaged-registry EXAMPLE
      the remember-arrangement example over a save that lost a value.

Pictures and differences stay in OUTDIR for a look after a failure.
"""

import os
import shutil
import subprocess
import sys
import tempfile


def scratch_environment(home):
    """A home and registry of the test's own, the standard resolution and
    the classic colours, whatever the person running the tests has set."""
    environment = {k: v for k, v in os.environ.items()
                   if not k.startswith("FOLIO_") and k not in ("XDG_CONFIG_HOME", "DISPLAY")}
    registry = os.path.join(home, "registry")
    os.makedirs(registry, mode=0o700, exist_ok=True)
    environment.update(HOME=home, FOLIO_REGISTRY_DIR=registry)
    return environment


def run(command, environment, cwd):
    print("+", " ".join(command), flush=True)
    result = subprocess.run(command, env=environment, cwd=cwd, capture_output=True, text=True,
                            timeout=120)
    sys.stdout.write(result.stdout)
    sys.stderr.write(result.stderr)
    return result


def snapshot(compare, example, reference, outdir, again=False):
    name = os.path.splitext(os.path.basename(reference))[0]
    shutil.rmtree(outdir, ignore_errors=True)
    os.makedirs(outdir)
    with tempfile.TemporaryDirectory(prefix="folio-example-") as home:
        environment = scratch_environment(home)
        for turn in range(2 if again else 1):
            result = run([example, "--snapshots", outdir], environment, home)
            if result.returncode != 0:
                return fail(f"{name} ended with {result.returncode}")
            if turn == 1 and "Restored" not in result.stdout:
                return fail(f"{name} did not restore what its first run saved")
            picture = os.path.join(outdir, name + ".png")
            if run([compare, picture, reference], environment, home).returncode != 0:
                return fail(f"{name}'s picture (run {turn + 1}) does not match {reference}")
    return 0


def expect_failure(example, arguments, environment, cwd, message):
    result = run([example, *arguments, "--snapshots", os.path.join(cwd, "out")], environment, cwd)
    if result.returncode == 0:
        return fail("the example reported success")
    if message not in result.stderr:
        return fail(f"the example did not print the library's message {message!r}")
    return 0


def missing_form(example):
    with tempfile.TemporaryDirectory(prefix="folio-example-") as home:
        missing = os.path.join(home, "no such.form")
        return expect_failure(example, [missing], scratch_environment(home), home,
                              f'Cannot open file "{missing}"')


def damaged_registry(example):
    with tempfile.TemporaryDirectory(prefix="folio-example-") as home:
        environment = scratch_environment(home)
        if run([example, "--snapshots", os.path.join(home, "out")], environment,
               home).returncode != 0:
            return fail("the first run, which saves the arrangement, failed")
        keys = os.path.join(home, "registry", "current_user.keys")
        with open(keys) as file:
            saved = file.read()
        if '"Items" = dword:00000003\n' not in saved:
            return fail("the first run did not save the Mail group's three items")
        damaged = saved.replace('"Items" = dword:00000003\n', "", 1)
        with open(keys, "w") as file:
            file.write(damaged)
        status = expect_failure(example, [], environment, home,
                                'The registry value "Items" is missing')
        with open(keys) as file:
            if file.read() != damaged:
                return fail("the example wrote over the damaged save")
        return status


def fail(message):
    print("FAILED:", message, file=sys.stderr)
    return 1


def main(arguments):
    if len(arguments) >= 5 and arguments[0] == "snapshot":
        return snapshot(*arguments[1:5], again="--again" in arguments[5:])
    if len(arguments) == 2 and arguments[0] == "missing-form":
        return missing_form(arguments[1])
    if len(arguments) == 2 and arguments[0] == "damaged-registry":
        return damaged_registry(arguments[1])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
