#!/usr/bin/env bash
# Takes the librarian's screenshots from a program installed with
#   cmake --install build --prefix PREFIX
# Usage: docs/screenshots/take-librarian.sh PREFIX/bin/tessiva BANK.syx [OUTPUT_FOLDER]
# Needs xvfb-run, xdotool and ImageMagick's import. The program runs on a
# settings store of its own (first run: the message, Ok in the device
# dialog takes the built-in synthesizer). F3 opens the librarian; a fetch of
# the synth bank is caught on its way, then the bank file is opened on the
# file side and three of its patches are dragged over. Positions are those
# of the window at its default size and font.
set -euo pipefail
if [ -z "${INNER:-}" ]; then
  [ $# -ge 2 ] || { echo "usage: $0 PATH/TO/tessiva BANK.syx [OUTPUT_FOLDER]" >&2; exit 2; }
  PROGRAM=$(readlink -f "$1")
  BANK=$(readlink -f "$2")
  OUT=$(readlink -f "${3:-$(dirname "$0")}")
  export INNER=1 PROGRAM BANK OUT
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
press() { # window title pattern, then keys
  local id
  id=$(win "$1")
  shift
  xdotool windowfocus --sync "$id"
  xdotool key "$@"
  sleep 0.5
}

cd /
"$PROGRAM" >"$WORK/program.log" 2>&1 &
APP=$!
sleep 2.5
xdotool key Return                      # the first-run message
sleep 1.5
press Preferences Return                # Ok: the built-in synthesizer
sleep 3
press "JV-XP Tessiva \[" F3             # the librarian
sleep 1
xdotool windowmove "$(win 'Bank Manager')" 0 0
press "Bank Manager" alt+a              # Fetch All
sleep 1.2
shot librarian-fetch.png "Bank Manager"
sleep 8                                 # the rest of the fetch
press "Bank Manager" alt+o              # Open... on the file side
sleep 1
xdotool type --delay 20 "$BANK"
xdotool key Return
sleep 1.5
# Places 12 to 14 of the file dragged onto the synth's 12: marked changed.
LIB=$(win "Bank Manager")
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
