#!/usr/bin/env bash
# A form author's session with the designer in real windows, as a person
# gives it: on a virtual display of its own with a window manager, the
# pointer and keys sent by xdotool. It drops a panel and three buttons,
# selects the buttons with a band, lines up their tops from the right-click
# menu, undoes and redoes that, moves a button into the panel through the
# component tree, puts the last button first in the tab order, saves the
# form and opens it in the gallery. Each step leaves a capture of the
# screen (import -window root) in the output folder to be looked at; the
# saved form is checked at the end.
#
# usage: scripts/designer_trial.sh [OUTPUT-FOLDER]   (default build/trial)
# Needs Xvfb, openbox, xdotool and imagemagick; uses the default preset's
# build (built when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "${1:-build/trial}")

if [[ -z "${FOLIO_TRIAL_DISPLAY:-}" ]]; then
  for tool in Xvfb openbox xdotool import xwininfo; do
    command -v "$tool" >/dev/null || { echo "designer_trial: $tool is missing" >&2; exit 77; }
  done
  if [[ ! -x build/default/apps/designer/designer || ! -x build/default/apps/gallery/gallery ]]; then
    cmake --build --preset default --target designer folio_package gallery
  fi
  mkdir -p "$out"
  exec env FOLIO_TRIAL_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

designer=$root/build/default/apps/designer/designer
gallery=$root/build/default/apps/gallery/gallery
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

step=0
capture() {
  step=$((step + 1))
  sleep 0.6
  local file
  file=$(printf '%s/%02d-%s.png' "$out" "$step" "$1")
  import -window root "$file"
  echo "capture: $file"
}

# The client area's top left corner of the visible window whose title is $1.
origin() {
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1" | head -1)
  xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                            END {print x, y}'
}

# Pointer steps, at points relative to a window's client area.
at() { xdotool mousemove $(($1 + $3)) $(($2 + $4)); sleep 0.15; }
click() { at "$@"; xdotool click 1; sleep 0.3; }
drag() { # X0 Y0 X1 Y1 dX dY: press at (X0, Y0), move in steps, let go at (X1, Y1)
  at "$1" "$2" "$5" "$6"
  xdotool mousedown 1
  for i in 1 2 3 4; do
    at $(($1 + ($3 - $1) * i / 4)) $(($2 + ($4 - $2) * i / 4)) "$5" "$6"
  done
}

cd "$work"
HOME=$work "$designer" >"$out/designer.log" 2>&1 &
pids+=($!)
read -r DX DY < <(origin "Folio designer")
read -r FX FY < <(origin "^Form1$")
capture started

# The places below follow the designer window's layout: the palette's
# Standard page (Button the seventh icon of the first row, Panel the sixth
# of the second), the tree's lines under it 16 pixels apart.
palette_button="195 106"
palette_panel="165 137"
tree_panel=203
tree_button2=235

# The palette's Panel and Button entries, then a click on the form each.
click $palette_panel "$DX" "$DY"; click 16 16 "$FX" "$FY"
for place in "40 140" "170 156" "300 148"; do
  click $palette_button "$DX" "$DY"; click $place "$FX" "$FY"
done
capture dropped

drag 16 90 400 200 "$FX" "$FY"
capture band-held
xdotool mouseup 1
capture three-selected

at 60 160 "$FX" "$FY"
xdotool click 3
sleep 0.5
read -r MX MY < <(xdotool getmouselocation --shell | awk -F= '/^X=/ {x=$2} /^Y=/ {y=$2} END {print x, y}')
at 43 135 "$MX" "$MY"
sleep 0.4
capture align-menu
at 220 135 "$MX" "$MY"
click 213 192 "$MX" "$MY"
capture aligned-tops

xdotool key ctrl+z
capture undone
xdotool key ctrl+y
capture redone

# Button2 alone, then its line in the tree onto Panel1's.
click 200 164 "$FX" "$FY"
drag 49 "$tree_button2" 49 "$tree_panel" "$DX" "$DY"
sleep 0.3
capture tree-drop-held
xdotool mouseup 1
capture reparented

# Button3 first in the tab order of the form's controls.
click 334 164 "$FX" "$FY"
click 134 9 "$DX" "$DY"
click 149 31 "$DX" "$DY"
read -r TX TY < <(origin "Tab order of")
click 52 42 "$TX" "$TY"
capture tab-order-dialog
click 273 20 "$TX" "$TY"
click 273 20 "$TX" "$TY"
capture tab-order-moved
click 273 206 "$TX" "$TY"
capture tab-order-set

xdotool key ctrl+s
read -r SX SY < <(origin "Save form as")
click 112 33 "$SX" "$SY"
xdotool key End shift+Home
xdotool type --delay 40 trial.form
capture save-dialog
xdotool key Return
capture saved
cp trial.form "$out/trial.form"

HOME=$work "$gallery" --form trial.form >"$out/gallery.log" 2>&1 &
pids+=($!)
sleep 3
capture gallery
for i in 1 2 3; do
  xdotool key Tab
  capture "gallery-tab-$i"
done

# What the form file must hold after the session.
failed=0
expect() {
  if grep -Pzq "$1" trial.form; then echo "ok   $2"; else echo "FAIL $2"; failed=1; fi
}
expect 'object Panel1: TPanel\n(    .*\n)*    object Button2: TButton' "Button2 is inside Panel1"
expect 'object Button1: TButton\n(    .*\n)*    Top = 152' "Button1's top is lined up"
expect 'object Button3: TButton\n(    .*\n)*    Top = 152' "Button3's top is lined up"
expect 'object Button3: TButton\n(    .*\n)*    TabOrder = 0' "Button3 is first in tab order"
exit $failed
