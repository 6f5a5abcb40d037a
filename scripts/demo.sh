#!/usr/bin/env bash
# Builds and runs the gallery demo. With a display it opens a window;
# without one it writes PNG snapshots and prints where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages
folio_configure default
cmake --build --preset default --target gallery
exec build/default/apps/gallery/gallery "$@"
