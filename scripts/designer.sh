#!/usr/bin/env bash
# Builds the form designer and the package library it loads, and starts it
# in the folder it was started from, where it opens and saves forms. With a
# display it opens its window; without one, or with --script FILE or
# --snapshots DIR, it runs a design script on the headless screen and
# writes designer.png.
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/common.sh
folio_install_packages
folio_configure default
cmake --build --preset default --target designer folio_package
cd "$here"
exec "$root/build/default/apps/designer/designer" "$@"
