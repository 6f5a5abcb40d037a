#!/usr/bin/env bash
# A hover change in the gallery beside the same in a Qt tool box, measured
# by scripts/measure_hover.sh in alternating runs, so that both meet the
# same load of a shared machine. The peer (bench/peers/qt_toolbox.cpp) is
# laid out as the gallery's vertical bar: the same pointer moves change its
# hovered button as they change the bar's hovered item.
#
#   scripts/compare_hover.sh [ROUNDS [MOVES]]
#
# ROUNDS (default 7) runs of each program, MOVES (default 1000) moves a run.
# FOLIO_BASE_GALLERY names a third program that takes its turn in every
# round (an earlier build of the gallery, to compare builds the same way).
# Prints each run's processor time per move, then each program's median and
# range, the ratios of the medians to the peer's, and the machine's load
# average before and after. Needs Qt 6's development package (qt6-base-dev)
# for the peer, which the build makes when it is installed.
set -euo pipefail
rounds=${1:-7}
moves=${2:-1000}
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages xvfb xauth openbox xdotool qt6-base-dev
folio_configure default
cmake --build --preset default --target gallery qt_toolbox

declare -A programs=([gallery]=build/default/apps/gallery/gallery
                     [qt]=build/default/bench/qt_toolbox)
order=(gallery qt)
if [ -n "${FOLIO_BASE_GALLERY:-}" ]; then
  programs[base]=$(realpath "$FOLIO_BASE_GALLERY")
  order+=(base)
fi
declare -A runs
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((r = 1; r <= rounds; r++)); do
  for name in "${order[@]}"; do
    us=$(scripts/measure_hover.sh "$moves" "${programs[$name]}" |
      awk '/per move/ { print $(NF-3) }')
    echo "round $r $name: $us us per move"
    runs[$name]+="$us "
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

summary() {
  tr ' ' '\n' <<<"$1" | grep . | sort -g |
    awk '{ v[NR] = $1 } END {
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}
read -r qt_median _ _ <<<"$(summary "${runs[qt]}")"
for name in "${order[@]}"; do
  read -r median low high <<<"$(summary "${runs[$name]}")"
  awk -v n="$name" -v m="$median" -v l="$low" -v h="$high" -v q="$qt_median" 'BEGIN {
    printf "%-8s median %6.1f us per move (%.1f-%.1f), %.2fx the Qt tool box\n", n, m, l, h, m / q }'
done
echo "load average: $load_before before, $load_after after"
