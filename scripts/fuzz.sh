#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/ one after another at the lowest CPU
# priority, each for a given time or number of executions.
#
#   scripts/fuzz.sh [--time SECONDS | --runs N] [--max-len BYTES] [TARGET...]
#       builds the fuzz preset (clang) and runs every target, or those named
#       (bar_stream, bitmap_stream, ...); default: 60 seconds each.
#   scripts/fuzz.sh --seeds
#       rewrites the seed corpora in fuzz/corpus/ with the targets' own seed
#       writers (from the default build).
#
# A target starts from its seeds (fuzz/corpus/<name>), with its dictionary
# (fuzz/dict/<name>.dict) when it has one, and keeps what it adds
# in build/fuzz/corpus/<name>, so a later run goes on where the last stopped;
# inputs that break an invariant or crash go to build/fuzz/findings/<name>/.
# Each run's log is build/fuzz/logs/<name>.log; the executions of all runs
# add up in build/fuzz/logs/<name>.total. Each run also reports the processor
# time it got, and the executions per processor second, which stay
# comparable when other work shares the machine. Exits non-zero after a
# finding (an interrupted run is none).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

limit=(-max_total_time=60)
extra=()
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --time) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --max-len) extra+=(-max_len="$2"); shift 2 ;;
    --seeds)
      folio_install_packages
      folio_configure default
      cmake --build --preset default
      for exe in build/default/fuzz/fuzz_*_smoke; do
        name=$(basename "$exe"); name=${name#fuzz_}; name=${name%_smoke}
        rm -rf "fuzz/corpus/$name"
        "$exe" --write-seeds "fuzz/corpus/$name"
      done
      exit 0 ;;
    -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

folio_install_packages "${FOLIO_FUZZ_PACKAGES[@]}"
folio_configure fuzz
nice -n 19 cmake --build --preset fuzz

if [ ${#targets[@]} -eq 0 ]; then
  for exe in build/fuzz/fuzz/fuzz_*; do
    [ -x "$exe" ] && [ -f "$exe" ] && targets+=("$(basename "${exe#build/fuzz/fuzz/fuzz_}")")
  done
fi

status=0
for name in "${targets[@]}"; do
  exe=build/fuzz/fuzz/fuzz_$name
  if [ ! -x "$exe" ]; then echo "no fuzz target $name" >&2; exit 2; fi
  mkdir -p "build/fuzz/corpus/$name" "build/fuzz/findings/$name" build/fuzz/logs
  log=build/fuzz/logs/$name.log
  dict=()
  if [ -f "fuzz/dict/$name.dict" ]; then dict=(-dict="fuzz/dict/$name.dict"); fi
  echo "== $name: ${limit[*]} ${extra[*]} ${dict[*]}"
  set +e
  # The processor time it got, beside the time it took: on a shared
  # machine a run at the lowest priority may get a fraction of a core.
  TIMEFORMAT='%U %S'
  { time nice -n 19 "$exe" "${limit[@]}" "${extra[@]}" "${dict[@]}" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/findings/$name/" \
      "build/fuzz/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; } 2>"$log.cpu"
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  echo "${runs:-0}" >>"build/fuzz/logs/$name.total"
  total=$(awk '{ s += $1 } END { print s }' "build/fuzz/logs/$name.total")
  cpu=$(awk '{ printf "%.1f", $1 + $2 }' "$log.cpu")
  cpu_rate=$(awk -v r="${runs:-0}" -v c="$cpu" 'BEGIN { if (c > 0) printf "%.0f", r / c; else print "?" }')
  echo "   ${runs:-?} executions at ${rate:-?}/s, $cpu s of processor time ($cpu_rate per" \
    "processor second) (all runs: $total), peak RSS ${rss:-?} MB"
  grep -h "peak memory" "$log" | sed 's/^/   /' || true
  if [ $rc -eq 72 ]; then
    # libFuzzer's code for a run stopped by a signal (Ctrl+C, kill -INT).
    echo "   interrupted; no finding" >&2
  elif [ $rc -ne 0 ]; then
    echo "   FINDING (exit $rc): see $log and build/fuzz/findings/$name/" >&2
    status=1
  fi
done
exit $status
