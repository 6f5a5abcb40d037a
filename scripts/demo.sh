#!/usr/bin/env bash
# Builds and runs the gallery demo. With a display it opens a window;
# without one (or with --snapshots DIR) it writes PNG snapshots and prints
# where they are: by default into build/snapshots/, never into the sources.
set -euo pipefail
# A folder given on the command line is taken from where the script was
# started, before it moves to the source tree.
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = --snapshots ] && [ $# -gt 1 ]; then
    args+=("$1" "$(realpath -m -- "$2")")
    shift 2
  else
    args+=("$1")
    shift
  fi
done
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages
folio_configure default
cmake --build --preset default --target gallery
# The gallery writes under its current directory; here that is build/.
cd build
exec default/apps/gallery/gallery "${args[@]}"
