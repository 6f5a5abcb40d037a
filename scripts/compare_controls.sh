#!/usr/bin/env bash
# One full paint of each everyday control beside Qt Widgets' counterpart at
# the same size with the same content (bench/ui/bench_controls_paint.cpp and
# bench/peers/qt_controls_paint.cpp), in alternating runs so that both meet
# the same load of a shared machine. Qt's widgets are timed twice: painted
# into a QImage (QWidget::render) under the offscreen platform, and through
# their window's backing store (QWidget::repaint, the path a shown window
# takes).
#
#   scripts/compare_controls.sh [ROUNDS]
#
# ROUNDS (default 5) runs of each program. Prints, per control, the median
# processor time of a paint over the rounds for each, the range of ours,
# and the ratios of ours to each of Qt's. Needs Qt 6's development package
# (qt6-base-dev) for the peer, which the build makes when it is installed.
set -euo pipefail
rounds=${1:-5}
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages qt6-base-dev
folio_configure default
cmake --build --preset default --target bench_ui_bench_controls_paint qt_controls_paint

out=$(mktemp -d "${TMPDIR:-/tmp}/folio-compare-controls.XXXXXX")
trap 'rm -rf "$out"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((r = 1; r <= rounds; r++)); do
  build/default/bench/bench_ui_bench_controls_paint --benchmark_min_time=0.2 \
    --benchmark_format=json >"$out/folio-$r.json"
  build/default/bench/qt_controls_paint --benchmark_min_time=0.2 \
    --benchmark_format=json >"$out/qt-$r.json"
  build/default/bench/qt_controls_paint --repaint --benchmark_min_time=0.2 \
    --benchmark_format=json >"$out/qtstore-$r.json"
  echo "round $r of $rounds done"
done
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$out" "$rounds" <<'EOF'
import json, statistics, sys
out, rounds = sys.argv[1], int(sys.argv[2])
def runs(kind):
    times = {}
    for r in range(1, rounds + 1):
        for b in json.load(open(f"{out}/{kind}-{r}.json"))["benchmarks"]:
            times.setdefault(b["name"].removeprefix("BM_Paint_"), []).append(b["cpu_time"] / 1000)
    return times
folio, qt, store = runs("folio"), runs("qt"), runs("qtstore")
print(f"{'control':<16}{'ours us':>9}{'(range)':>16}{'Qt image':>10}{'ratio':>7}"
      f"{'Qt store':>10}{'ratio':>7}")
for name, ours in folio.items():
    m, q, s = statistics.median(ours), statistics.median(qt[name]), statistics.median(store[name])
    span = f"({min(ours):.1f}-{max(ours):.1f})"
    print(f"{name:<16}{m:>9.1f}{span:>16}{q:>10.1f}{m / q:>6.2f}x{s:>10.1f}{m / s:>6.2f}x")
EOF
