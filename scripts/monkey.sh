#!/usr/bin/env bash
# The monkey test: the gallery and the designer, each in a real window on a
# virtual display with a window manager, driven by seeded random input sent
# through the X server (pointer moves, presses, drags, the wheel, keys such
# as F2, Escape, Enter, Tab and Ctrl+Z, typing, window resizes, closing
# dialogs; the designer also saves, reopens its form and undoes). Both are
# built with AddressSanitizer and UndefinedBehaviorSanitizer (the asan
# preset). After every event the driver (tests/monkey/monkey.cpp) asks the
# program's event loop for an answer and measures how long it took.
#
#   scripts/monkey.sh [--seed N] [--events N] [--seconds S] [--only NAME] [--out DIR]
#                     [--bin DIR] [--pace F] [--memory]
#   scripts/monkey.sh --replay FILE
#
# Defaults: seed 1, 100,000 events for each program (the long run), no time
# bound; --seconds ends each program's run after that long instead. NAME is
# gallery or designer. A crash, a sanitizer report or a loop that stops
# answering fails the run: the seed and the last 200 events are written to
# DIR/NAME-seed-N.events and the commands that replay them are printed.
# --bin takes the programs from a build folder of the asan preset (or a copy
# of one) as they are, without building: a long run can go on while the
# tree is built again. Each program's output goes to DIR/NAME.log, every
# event with the windows it met to DIR/NAME.trace (DIR: build/asan/monkey). --pace scales the
# driver's own pauses (a press held, the steps of a drag, typing, idle
# waits; 1 by default, a quick human hand): 0.2 sends the same events five
# times faster, which makes a long run fit an afternoon. --memory is for a
# resident-memory figure: AddressSanitizer keeps no quarantine (freed memory
# is reused at once, so resident memory follows what the program holds
# rather than what it freed lately) and random input never closes the
# program's last main window (one program life for the whole run).
#
# The programs run in a folder of their own with their own home and
# registry folder; random input never reaches a file dialog (the driver
# closes one at once), and the designer saves and opens only its own form.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seed=1
events=100000
seconds=0
only=""
out=""
replay=""
bin=""
pace=1
memory=""
while [ $# -gt 0 ]; do
  case $1 in
    --seed) seed=$2; shift 2 ;;
    --events) events=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --replay) replay=$(realpath "$2"); shift 2 ;;
    --bin) bin=$(realpath "$2"); shift 2 ;;
    --pace) pace=$2; shift 2 ;;
    --memory) memory=1; shift ;;
    -h|--help) sed -n '2,34p' "$0"; exit 0 ;;
    *) echo "monkey: unknown argument $1" >&2; exit 2 ;;
  esac
done
out=${out:-build/asan/monkey}
mkdir -p "$out"
out=$(realpath "$out")

if [ -n "$replay" ]; then
  only=$(sed -n '1s/^# monkey \([a-z]*\),.*/\1/p' "$replay")
  [ -n "$only" ] || { echo "monkey: $replay is not a monkey event file" >&2; exit 2; }
fi

if [ -z "${FOLIO_MONKEY_INNER:-}" ]; then
  . scripts/common.sh
  folio_install_packages openbox
  if [ -z "$bin" ]; then
    folio_configure asan
    cmake --build --preset asan --target gallery designer folio_package monkey
  fi
  export FOLIO_MONKEY_INNER=1
  args=(--seed "$seed" --events "$events" --seconds "$seconds" --out "$out" --pace "$pace")
  [ -n "$bin" ] && args+=(--bin "$bin")
  [ -n "$only" ] && args+=(--only "$only")
  [ -n "$replay" ] && args+=(--replay "$replay")
  [ -n "$memory" ] && args+=(--memory)
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${args[@]}"
fi

# --- On the virtual display from here on. ---

build=${bin:-$root/build/asan}
sandbox=$(mktemp -d "${TMPDIR:-/tmp}/folio-monkey.XXXXXX")
# One desktop: a wheel turned over the desktop would otherwise switch to
# an empty one and hide every window of the program for the rest of the run.
wm_config=()
if [ -f /etc/xdg/openbox/rc.xml ]; then
  sed 's|<number>[0-9]*</number>|<number>1</number>|' /etc/xdg/openbox/rc.xml >"$sandbox/openbox.xml"
  wm_config=(--config-file "$sandbox/openbox.xml")
fi
openbox "${wm_config[@]}" >/dev/null 2>&1 &
wm=$!
cleanup() {
  kill "$wm" 2>/dev/null || true
  rm -rf "$sandbox"
}
trap cleanup EXIT

# The programs' world: a home, a registry and a working folder of their
# own, and an xdg-open that only notes what it was asked to open (the bar
# editor's logo opens a web page).
mkdir -p "$sandbox/home" "$sandbox/bin" "$sandbox/gallery" "$sandbox/designer"
cat >"$sandbox/bin/xdg-open" <<'EOF'
#!/bin/sh
echo "xdg-open $*" >>"$HOME/opened"
EOF
chmod +x "$sandbox/bin/xdg-open"
export HOME=$sandbox/home
export FOLIO_REGISTRY_DIR=$sandbox/home/registry
export PATH=$sandbox/bin:$PATH
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
[ -n "$memory" ] && ASAN_OPTIONS+=:quarantine_size_mb=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export FOLIO_PACKAGE=$build/package/libfolio_package.so
sleep 1

# The designer starts on a form with the package's controls on it, made
# by the designer itself from the README's design script.
form=$sandbox/designer/designed.form
(cd "$sandbox/designer" &&
  "$build/apps/designer/designer" --script "$root/docs/designer.script" \
    --snapshots "$sandbox/designer" >"$out/designer-script.log" 2>&1) || {
  echo "monkey: the designer could not make its starting form; see $out/designer-script.log" >&2
  exit 1
}

status=0
run() {
  local name=$1 profile=$2
  shift 2
  [ -n "$only" ] && [ "$only" != "$name" ] && return 0
  : >"$out/$name.log"
  local bounds=(--seed "$seed" --events "$events" --pace "$pace")
  [ "$seconds" != 0 ] && bounds+=(--seconds "$seconds")
  [ -n "$memory" ] && bounds+=(--keep-main)
  [ -n "$replay" ] && bounds=(--replay "$replay" --pace "$pace")
  echo "== monkey: $name (seed $seed)"
  (cd "$sandbox/$name" &&
    "$build/tests/monkey" --name "$name" --profile "$profile" --out "$out" \
      --form "$form" --trace "$out/$name.trace" "${bounds[@]}" -- "$@") || status=1
}
run gallery gallery "$build/apps/gallery/gallery"
run designer designer "$build/apps/designer/designer" "$form"
exit $status
