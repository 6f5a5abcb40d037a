#!/usr/bin/env bash
# Runs the bar's stress script (tests/folio/FolioStress.h) for longer than the
# test suite does: scripted, seeded mouse, switch, edit and drag input on a
# bar of 100,000 items on the headless host, its invariants checked after
# every step. At the lowest CPU priority.
#
#   scripts/stress.sh [--seconds S] [--steps N] [--seeds FIRST..LAST] [PRESET]
#
# PRESET is default, asan or tsan (default: asan); each seed runs for the
# given time or number of steps, whichever ends first (default: 300 seconds,
# a million steps). A failure names the step and the seed to replay it with.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

seconds=300
steps=1000000
first=1
last=1
preset=asan
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --steps) steps=$2; shift 2 ;;
    --seeds) first=${2%..*}; last=${2#*..}; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) preset=$1; shift ;;
  esac
done

folio_install_packages
folio_configure "$preset"
nice -n 19 cmake --build --preset "$preset" --target test_folio

export FOLIO_STRESS_SECONDS=$seconds FOLIO_STRESS_STEPS=$steps
# The sanitizers stop at the first report, as in the test presets.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp
for seed in $(seq "$first" "$last"); do
  echo "== seed $seed ($preset)"
  FOLIO_STRESS_SEED=$seed nice -n 19 "build/$preset/tests/test_folio" \
    --gtest_filter='FolioStress.*' --gtest_brief=1
done
