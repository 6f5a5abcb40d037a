#!/usr/bin/env bash
# Measures what a hover change costs the gallery as a user would cause it:
# the gallery runs in a real window on a virtual display with a window
# manager, and the pointer moves back and forth between two items of the
# vertical bar, so that every move changes the hovered item. Prints the
# gallery process's CPU time per move (all its threads, from the kernel's
# scheduler statistics), measured over the moves alone.
#
#   scripts/measure_hover.sh [MOVES [GALLERY]]
#
# MOVES defaults to 1000. Without GALLERY the script builds the gallery
# (default preset) and measures build/default/apps/gallery/gallery. It
# installs what it needs when missing: Xvfb, openbox and xdotool.
set -euo pipefail
moves=${1:-1000}
gallery=${2:+$(realpath "$2")}
cd "$(dirname "$0")/.."
gallery=${gallery:-build/default/apps/gallery/gallery}

if [ -z "${FOLIO_MEASURE_INNER:-}" ]; then
  . scripts/common.sh
  folio_install_packages xvfb xauth openbox xdotool
  if [ -z "${2:-}" ]; then
    folio_configure default
    cmake --build --preset default --target gallery
  fi
  [ -x "$gallery" ] || { echo "measure_hover: no gallery at $gallery" >&2; exit 2; }
  export FOLIO_MEASURE_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$moves" "$gallery"
fi

# Nanoseconds of CPU the process has run so far, summed over its threads.
cpu_ns() {
  local sum=0 t
  for t in /proc/"$1"/task/*/schedstat; do
    read -r run _ <"$t" && sum=$((sum + run))
  done
  echo "$sum"
}

openbox >/dev/null 2>&1 &
wm=$!
gallery_pid=
cleanup() {
  [ -n "$gallery_pid" ] && kill "$gallery_pid" 2>/dev/null || true
  kill "$wm" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1

"$gallery" >/dev/null 2>&1 &
gallery_pid=$!
win=$(timeout 30 xdotool search --sync --name "Folio bar gallery" | head -n 1)
# Let the window settle (first show, the window manager's frame, exposes).
sleep 2

# The pictures of the first two items the vertical bar shows, in the
# window's client coordinates (the bar lies at (10, 10), 240 wide).
ax=130 ay=${FOLIO_ITEM_A_Y:-60}
bx=130 by=${FOLIO_ITEM_B_Y:-130}
xdotool mousemove --window "$win" "$ax" "$ay"
# Less than the pause before a hint shows (500 ms): a hint window that
# appeared and went with the first move would cost one run and not the next.
sleep 0.25

# One xdotool process sends every move, a few milliseconds apart, so that
# each move is handled and presented on its own.
args=()
for ((i = 0; i < moves; i++)); do
  if ((i % 2 == 0)); then
    args+=(mousemove --window "$win" "$bx" "$by" sleep 0.004)
  else
    args+=(mousemove --window "$win" "$ax" "$ay" sleep 0.004)
  fi
done
before=$(cpu_ns "$gallery_pid")
start=$(date +%s%N)
xdotool "${args[@]}"
sleep 0.2
after=$(cpu_ns "$gallery_pid")
end=$(date +%s%N)

# The gallery at rest for as long, to show what is not the moves' doing.
rest_before=$(cpu_ns "$gallery_pid")
sleep "$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')"
rest_after=$(cpu_ns "$gallery_pid")

awk -v cpu=$((after - before)) -v rest=$((rest_after - rest_before)) -v n="$moves" \
  -v wall=$((end - start)) 'BEGIN {
    printf "moves: %d over %.2f s\n", n, wall / 1e9
    printf "gallery CPU: %.1f ms in all, %.1f us per move\n", cpu / 1e6, cpu / 1e3 / n
    printf "gallery CPU at rest over as long: %.2f ms\n", rest / 1e6
  }'
