#!/usr/bin/env bash
# Starts the editor again and again on a virtual X display with the built-in
# virtual synthesizer as its MIDI device, waits each time until its main
# window is up and closes it again (F12, the Exit command, or SIGTERM), and
# counts the starts that ended any other way.
#
#   scripts/start-loop.sh [-n COUNT] [-b BINARY] [-c f12|term|mix] [-j] [-k]
#
#   -n  how many starts (100)
#   -b  the editor (build/bin/tessiva)
#   -c  how to close it: F12, SIGTERM or the two in turn (mix)
#   -j  run a private JACK server beside it, so system MIDI opens clients
#   -k  as -j, and kill the server (SIGKILL) once the main window is up;
#       the next start gets a new one
#
# Needs Xvfb and xdotool (jackd and jack_wait with -j). Everything goes to
# a fresh folder under /tmp, which is kept when a start went wrong: its
# output and, when the system writes one, its core dump. A start the X
# server turned away (Qt aborts then, before any of the editor's own code
# runs) is counted as refused, apart from the crashes.
set -uo pipefail
cd "$(dirname "$0")/.."

count=100
binary=build/bin/tessiva
close=mix
jack=0
kill_jack=0
while getopts "n:b:c:jk" opt; do
    case $opt in
    n) count=$OPTARG ;;
    b) binary=$OPTARG ;;
    c) close=$OPTARG ;;
    j) jack=1 ;;
    k) jack=1 kill_jack=1 ;;
    *) exit 2 ;;
    esac
done
binary=$(realpath "$binary")
[ -x "$binary" ] || { echo "start-loop: $binary is not built" >&2; exit 2; }
for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "start-loop: $tool is not installed" >&2; exit 2; }
done

WindowWaitS=60  # a start slower than this counts as hung
ExitWaitS=30    # so does an exit
PollS=0.1
KeyRepeatMs=1000

work=$(mktemp -d /tmp/tessiva-start-loop.XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config HOME=$work/home
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Korvale" "$HOME"
# The settings of a musician who chose the built-in synthesizer, so no
# first-run dialog stands in front of the main window.
cat >"$XDG_CONFIG_HOME/Korvale/TessivaW95.conf" <<EOF
[General]
JVID=17
Midi_In1=0
Midi_In1_Name=Virtual JV-1080 (built-in)
Midi_In2=-1
Midi_In2_Name=
Midi_Out=0
Midi_Out_Name=Virtual JV-1080 (built-in)
PatchDir=$work/patches/
EOF
mkdir -p "$work/patches"

xvfb_pid=
jack_pid=
cleanup() {
    # A killed server's entry in JACK's registry of eight servers is freed
    # by one of the same name started and stopped properly.
    [ "$kill_jack" = 1 ] && [ -z "$jack_pid" ] && start_jack
    [ -n "$jack_pid" ] && kill "$jack_pid" 2>/dev/null && wait "$jack_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    # What the clients of a killed server leave behind.
    [ "$jack" = 1 ] && rm -f "/dev/shm/jack_sem."*"_${JACK_DEFAULT_SERVER}_"*
    [ "${bad:-1}" = 0 ] && rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display and says which.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 30 -u "$display_fd" display || { echo "start-loop: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display

export JACK_DEFAULT_SERVER=tessiva-start-loop-$$ JACK_NO_AUDIO_RESERVATION=1
start_jack() {
    jackd -n "$JACK_DEFAULT_SERVER" --no-realtime --sync --port-max 128 -d dummy -r 48000 \
        -p 256 >>"$work/jackd.log" 2>&1 &
    jack_pid=$!
    jack_wait -w -t 30 -n "$JACK_DEFAULT_SERVER wait" >/dev/null 2>&1 ||
        { echo "start-loop: the JACK server did not come up" >&2; return 1; }
}
LossNoticeS=1  # how long the editor gets to notice a killed server
[ "$jack" = 1 ] && { start_jack || exit 1; }

now_ms() { date +%s%3N; }
main_window() {
    xdotool search --onlyvisible --pid "$1" --name '^JV-XP Tessiva' 2>/dev/null | head -n 1
}

ok=0 crashed=0 hung=0 failed=0 refused=0
starts_ms=()
for ((i = 1; i <= count; ++i)); do
    run=$work/run$i
    mkdir -p "$run"
    method=$close
    [ "$close" = mix ] && { ((i % 2)) && method=f12 || method=term; }

    # After a kill the server comes back under the same name, which takes
    # over the dead one's entry in JACK's registry.
    [ "$jack" = 1 ] && [ -z "$jack_pid" ] && { start_jack || exit 1; }
    began=$(now_ms)
    (cd "$run" && ulimit -c unlimited && exec "$binary" >"$run/output.txt" 2>&1) &
    pid=$!
    window=
    deadline=$((began + WindowWaitS * 1000))
    while kill -0 "$pid" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do
        window=$(main_window "$pid")
        [ -n "$window" ] && break
        sleep $PollS
    done
    up=$(($(now_ms) - began))

    outcome=
    if [ -z "$window" ]; then
        if kill -0 "$pid" 2>/dev/null; then
            outcome="hung: no main window after ${WindowWaitS} s"
            kill -KILL "$pid" 2>/dev/null
        fi
    else
        starts_ms+=("$up")
        if [ "$kill_jack" = 1 ]; then
            kill -KILL "$jack_pid"
            wait "$jack_pid" 2>/dev/null
            jack_pid=
            sleep $LossNoticeS
        fi
        [ "$method" = term ] && kill -TERM "$pid"
        deadline=$(($(now_ms) + ExitWaitS * 1000))
        next_key=0
        while kill -0 "$pid" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do
            # Without a window manager nothing gives the new window the
            # focus, and a key that comes before Qt has taken it is lost; the
            # main window's first X window may also be replaced while it
            # settles. Find, focus and press again until the program goes.
            if [ "$method" = f12 ] && [ "$(now_ms)" -ge "$next_key" ]; then
                window=$(main_window "$pid")
                [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null
                xdotool key F12
                next_key=$(($(now_ms) + KeyRepeatMs))
            fi
            sleep $PollS
        done
        if kill -0 "$pid" 2>/dev/null; then
            outcome="hung: still running ${ExitWaitS} s after $method"
            kill -KILL "$pid" 2>/dev/null
        fi
    fi
    wait "$pid"
    status=$?
    if [ -z "$outcome" ]; then
        if [ "$status" = 0 ] || { [ "$method" = term ] && [ "$status" = 143 ] && [ -n "$window" ]; }; then
            outcome=ok
        elif grep -q "could not connect to display" "$run/output.txt"; then
            # Qt aborts when the X server turns it away: the display's
            # fault, counted apart from the program's own crashes.
            outcome="refused: the X server turned it away"
        elif [ "$status" -gt 128 ]; then
            outcome="crashed: signal $((status - 128))"
        else
            outcome="failed: exit status $status"
        fi
    fi
    case $outcome in
    ok) ((++ok)); rm -rf "$run" ;;
    crashed*) ((++crashed)) ;;
    hung*) ((++hung)) ;;
    refused*) ((++refused)) ;;
    *) ((++failed)) ;;
    esac
    [ "$outcome" = ok ] || echo "start $i ($method): $outcome, see $run"
done

median=-
max=-
if [ ${#starts_ms[@]} -gt 0 ]; then
    sorted=($(printf '%s\n' "${starts_ms[@]}" | sort -n))
    median=${sorted[$((${#sorted[@]} / 2))]}
    max=${sorted[-1]}
fi
echo "starts: $count  ok: $ok  crashed: $crashed  hung: $hung  failed: $failed  refused: $refused"
echo "main window up after: median ${median} ms, slowest ${max} ms"
bad=$((crashed + hung + failed + refused))
[ $bad = 0 ] || echo "kept: $work"
[ $bad = 0 ]
