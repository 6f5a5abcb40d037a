#!/usr/bin/env bash
# Builds the project and runs the whole test suite (default preset, or the
# preset given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
preset=${1:-default}
folio_install_packages
folio_configure "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
