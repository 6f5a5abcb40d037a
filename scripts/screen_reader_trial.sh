#!/usr/bin/env bash
# What a screen reader says while a person works the gallery's bars. On a
# virtual display with a window manager and a session bus of its own, with
# the desktop's accessibility services (at-spi2-core) turned on, the gallery
# starts and then Orca, whose speech goes through speech-dispatcher to a
# module that writes each message to a text file and espeak-ng's voice to a
# WAV file (no sound device is needed). xdotool then switches groups by
# clicking captions and moves the keyboard with Tab, the arrows and Enter;
# after each step the script prints what Orca sent to speech, read from its
# debug log. Captures of the screen (import -window root) go beside it.
#
# usage: scripts/screen_reader_trial.sh [OUTPUT-FOLDER]   (default build/screen-reader)
# Needs Xvfb, openbox, xdotool, imagemagick, dbus-daemon, at-spi2-core, and
# for the look only (no part of the build): orca, speech-dispatcher and
# espeak-ng (apt-get install orca speech-dispatcher espeak-ng). Uses the
# default preset's gallery (built when missing). Not run by the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "${1:-build/screen-reader}")

if [[ -z "${FOLIO_SCREEN_READER_SESSION:-}" ]]; then
  for tool in xvfb-run openbox xdotool import xwininfo dbus-run-session dbus-send orca \
    speech-dispatcher espeak-ng; do
    command -v "$tool" >/dev/null || { echo "screen_reader_trial: $tool is missing" >&2; exit 77; }
  done
  if [[ ! -x build/default/apps/gallery/gallery ]]; then
    cmake --build --preset default --target gallery
  fi
  mkdir -p "$out"
  rm -rf "$out/wav"
  rm -f "$out"/*.png "$out/spoken.txt" "$out/orca-debug.out"
  exec env FOLIO_SCREEN_READER_SESSION=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" "$out"
fi

gallery=$root/build/default/apps/gallery/gallery
work=$(mktemp -d)
pids=()
# Ends the programs last started first, each given five seconds before it is
# killed: Orca, left to its own shutdown, can wait minutes on a gone program.
cleanup() {
  local i pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.25
    done
    kill -9 "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A desktop of its own: the services read their settings from $work, and
# speech-dispatcher listens in its runtime folder.
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run LANG=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" "$work/speechd/modules" "$work/orca" "$out/wav"
chmod 700 "$XDG_RUNTIME_DIR"
: >"$out/spoken.txt"

# speech-dispatcher hands each message to this program on its standard input.
cat >"$work/say-to-file" <<EOF
#!/bin/sh
text=\$(cat)
printf '%s\n' "\$text" >>"$out/spoken.txt"
n=\$(ls "$out/wav" | wc -l)
printf '%s' "\$text" | espeak-ng -v "\${1:-en-us}" --stdin -w "$out/wav/\$(printf %04d "\$n").wav"
EOF
chmod +x "$work/say-to-file"
# The module must still open an audio device, ALSA's null device will do.
cat >"$work/speechd/speechd.conf" <<EOF
LogLevel 3
LogDir "$out"
DefaultLanguage "en"
AudioOutputMethod "alsa"
AudioALSADevice "null"
SymbolsPreproc "char"
SymbolsPreprocFile "symbols.dic"
SymbolsPreprocFile "orca.dic"
SymbolsPreprocFile "orca-chars.dic"
AddModule "file" "sd_generic" "file.conf"
DefaultModule "file"
EOF
cat >"$work/speechd/modules/file.conf" <<EOF
GenericExecuteSynth "printf %s \'\$DATA\' | $work/say-to-file \$VOICE"
GenericCmdDependency "espeak-ng"
GenericLanguage "en" "en-us" "utf-8"
AddVoice "en" "MALE1" "en-us"
DefaultVoice "en-us"
EOF
# Orca's hang check gives up after ten seconds, too soon on a loaded machine;
# its debug log is written line by line so that each step can be read.
cat >"$work/orca/orca-customizations.py" <<EOF
import orca.debug
import orca.settings
orca.settings.timeoutTime = 0
if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)
EOF

# Accessibility on, as a desktop turns it on for a screen reader.
dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
  variant:boolean:true >/dev/null

openbox >/dev/null 2>&1 &
pids+=($!)
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" >/dev/null 2>&1 &
pids+=($!)
sleep 1

cd "$work"
FOLIO_SCALE=1 "$gallery" >"$out/gallery.log" 2>&1 &
pids+=($!)
id=$(xdotool search --sync --onlyvisible --name "Folio bar gallery" | head -1)
read -r GX GY < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4}
                                           /Absolute upper-left Y/ {y=$4} END {print x, y}')

log=$out/orca-debug.out
orca --disable braille --user-prefs "$work/orca" --debug-file="$log" --debug \
  >"$out/orca.log" 2>&1 &
pids+=($!)

# Orca's words since the last step, one line each.
read_so_far=0
spoken() {
  local lines
  lines=$(wc -l <"$log")
  sed -n "$((read_so_far + 1)),${lines}p" "$log" |
    sed -n "s/^[0-9:.]* - SPEECH OUTPUT: '\(.*\)'\({'.*}\| voice=.*\)\{0,1\}$/  \"\1\"/p"
  read_so_far=$lines
}
step=0
after() {
  sleep "${2:-2.5}"
  step=$((step + 1))
  import -window root "$(printf '%s/%02d-%s.png' "$out" "$step" "$1")"
  echo "[$step] $1:"
  spoken
}

started=0
for _ in $(seq 120); do
  if grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$log" 2>/dev/null; then
    started=1
    break
  fi
  sleep 0.5
done
if ((!started)); then
  echo "screen_reader_trial: Orca did not start speaking within a minute; see $out/orca.log" >&2
  exit 1
fi
after orca-started 4

# Places relative to the gallery window's client area: the vertical bar's
# Places caption below its open Mail group, then its Calendar caption above
# the open Places group; the horizontal bar's turned Tools caption.
click() { xdotool mousemove $((GX + $1)) $((GY + $2)) click 1; }
click 129 517
after click-places-caption
click 129 40
after click-calendar-caption
click 281 100
after click-tools-caption-of-the-other-bar
# The keyboard: back to the vertical bar, down into the open group's items,
# up past its caption to the Mail caption, and Enter there.
xdotool key Tab
after tab
xdotool key Down
after down
xdotool key Down
after down
xdotool key Up Up Up
after up-up-up
xdotool key Return
after enter
echo "Orca's whole log: $log; the speech as speech-dispatcher passed it on:" \
  "$out/spoken.txt, with espeak-ng's voice in $out/wav/."
