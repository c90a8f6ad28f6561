#!/usr/bin/env bash
# Takes the README's screenshots from a program installed with
#   cmake --install build --prefix PREFIX
# Usage: docs/screenshots/take.sh PREFIX/bin/tessiva [OUTPUT_FOLDER]
# Needs xvfb-run, xdotool and ImageMagick's import. The program runs from /
# on a settings store of its own, so it goes through a first run: the
# message, the device dialog (Ok takes the built-in synthesizer), the splash.
# On the way, F3 opens the librarian: a fetch of the synth bank is caught on
# its way, then the 46-patch bank of the test data is opened on the file side
# and three of its patches are dragged over (positions are those of the
# librarian at its default size and font). Then it runs twice more for the
# main window with --dark and at twice the scale (QT_SCALE_FACTOR=2), and once
# for the performance and rhythm windows.
set -euo pipefail
if [ -z "${INNER:-}" ]; then
  [ $# -ge 1 ] || { echo "usage: $0 PATH/TO/tessiva [OUTPUT_FOLDER]" >&2; exit 2; }
  PROGRAM=$(readlink -f "$1")
  OUT=$(readlink -f "${2:-$(dirname "$0")}")
  BANK=$(readlink -f "$(dirname "$0")/../../tests/data/syx/JV1080_AGSOUND1_user01-46.syx")
  export INNER=1 PROGRAM OUT BANK
  exec xvfb-run -a -s "-screen 0 1800x1200x24" "$(readlink -f "$0")"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/config" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime

win() { xdotool search --onlyvisible --name "$1" | head -1; }
shot() { # file, window title pattern
  local id
  id=$(win "$2")
  [ -n "$id" ] || { echo "no window '$2'" >&2; return 1; }
  import -window "$id" "$OUT/$1"
}
# Positions are in the main window's own units; SCALE makes them pixels.
SCALE=1
click() {
  xdotool mousemove --window "$MAIN" "$(($1 * SCALE))" "$(($2 * SCALE))"
  sleep 0.4
  xdotool click 1
  sleep 0.3
}

cd /
"$PROGRAM" >"$WORK/program.log" 2>&1 &
APP=$!
sleep 2.5
xdotool key Return                      # the first-run message
sleep 1.5
shot devices.png "Preferences"
xdotool windowfocus --sync "$(win Preferences)"
xdotool key Return                      # Ok
sleep 0.5
shot splash.png "JV-XP Tessiva$"
sleep 2
MAIN=$(win "JV-XP Tessiva \[")
xdotool windowfocus --sync "$MAIN"
xdotool key F10                         # Note Out: the hub
sleep 1
xdotool windowmove "$(win 'Send Note')" 790 0
xdotool windowfocus --sync "$MAIN"
xdotool key F2                          # View Sys: the log
sleep 1
xdotool windowmove "$(win 'View Messages')" 790 320
sleep 0.5
click 47 37                             # Get Patch
sleep 0.5
click 162 37                            # Send Patch
sleep 1.5
xdotool mousemove 1300 850
sleep 0.5
shot main.png "JV-XP Tessiva \["
shot hub.png "Send Note"
shot log.png "View Messages"

press() { # window title pattern, then keys
  xdotool windowfocus --sync "$(win "$1")"
  shift
  xdotool key "$@"
  sleep 0.5
}
press "JV-XP Tessiva \[" F3             # the librarian
sleep 1
LIB=$(win "Bank Manager")
xdotool windowmove "$LIB" 0 0
press "Bank Manager" alt+a              # Fetch All
sleep 1.2
shot librarian-fetch.png "Bank Manager"
sleep 8                                 # the rest of the fetch
press "Bank Manager" alt+o              # Open... on the file side
sleep 1
xdotool type --delay 20 "$BANK"
xdotool key Return
sleep 1.5
# Places 12 to 14 of the file dragged onto the synth's 12.
at() { xdotool mousemove --window "$LIB" "$1" "$2"; sleep 0.2; }
at 430 321; xdotool click 1
at 430 357; xdotool keydown shift click 1 keyup shift
at 430 339; xdotool mousedown 1
for y in 335 330 325; do at 400 $y; done
for x in 300 200 150; do at $x 321; done
xdotool mouseup 1
sleep 0.5
xdotool mousemove 1700 1100
sleep 0.5
shot librarian.png "Bank Manager"
kill "$APP"
wait "$APP" 2>/dev/null || true

# The main window again, now that the settings are there: only the splash
# comes before it. Arguments: file, scale, then the program's options.
again() {
  local file=$1
  SCALE=$2
  shift 2
  QT_SCALE_FACTOR=$SCALE "$PROGRAM" "$@" >"$WORK/program.log" 2>&1 &
  APP=$!
  sleep 4
  MAIN=$(win "JV-XP Tessiva \[")
  click 47 37 # Get Patch
  sleep 1.5
  xdotool mousemove 1700 1100
  sleep 0.5
  shot "$file" "JV-XP Tessiva \["
  kill "$APP"
  wait "$APP" 2>/dev/null || true
}
again main-dark.png 1 --dark
again main-2x.png 2

# The performance and rhythm windows. Perform on the main window fetches the
# performance (and part 1's patch), Rhythm the rhythm set of part 10.
SCALE=1
"$PROGRAM" >"$WORK/program.log" 2>&1 &
APP=$!
sleep 4
MAIN=$(win "JV-XP Tessiva \[")
xdotool windowmove "$MAIN" 0 700
sleep 0.5
click 506 38                            # Perform
sleep 4
xdotool windowfocus --sync "$MAIN"
xdotool key F5                          # Perform / Performance
sleep 2
xdotool windowmove "$(win '^Performance$')" 0 0
xdotool mousemove 1790 1190
sleep 1
shot performance.png "^Performance$"
click 575 38                            # Rhythm
sleep 6
xdotool windowfocus --sync "$MAIN"
xdotool key F6                          # Perform / Rhythm Set
sleep 2
xdotool windowmove "$(win '^Rhythm Set$')" 0 0
sleep 1
shot rhythm.png "^Rhythm Set$"
kill "$APP"
wait "$APP" 2>/dev/null || true
