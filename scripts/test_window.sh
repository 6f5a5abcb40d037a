#!/usr/bin/env bash
# Runs the window host's tests (ctest label "window") on a virtual X display
# of their own, with the default preset's build (built if needed). A test
# that skips here counts as a failure: with a display there is no reason to.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages "${FOLIO_ACCESSIBILITY_PACKAGES[@]}" "${FOLIO_WINDOW_MANAGER_PACKAGES[@]}"
folio_configure default
cmake --build --preset default
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The X server is a process of its own: on a loaded machine an expose can
# come later than a test waits for it, so a failed window test gets two more
# tries (its failures stay in the log above the summary).
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --preset default -L window --repeat until-pass:3 2>&1 | tee "$log"
if grep -q 'Skipped' "$log"; then
  echo "Window tests skipped although a virtual display was running." >&2
  exit 1
fi
