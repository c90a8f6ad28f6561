#!/bin/bash
# get and send of tessiva-cli against the virtual synthesizer in another
# process, over a private JACK server: a busy unit at cable speed, whose
# dropped answers the fetch must ask for again; the names the ports carry;
# and a server that dies under the commands.
cli="$1"
command -v jackd >/dev/null || { echo "SKIP: no jackd"; exit 0; }
fails=0
tmp=$(mktemp -d)
server="tessiva-transfer-$$"
export JACK_DEFAULT_SERVER="$server"
jack=""
sim=""

start_server() {
    jackd -n "$server" --no-realtime --sync --port-max 128 -d dummy -r 48000 -p 256 \
        >>"$tmp/jackd.log" 2>&1 &
    jack=$!
    # libjack names a client's socket after the client alone, whatever the
    # server: jack_wait's "wait" would meet another test's.
    jack_wait -w -t 30 -n "$server wait" >/dev/null 2>&1
}
# A server killed outright keeps its entry in JACK's registry of eight
# servers; one of the same name started and stopped properly frees it.
kill_server() {
    kill -KILL "$jack" 2>/dev/null
    wait "$jack" 2>/dev/null
    start_server
    kill "$jack" 2>/dev/null
    wait "$jack" 2>/dev/null
    jack=""
    rm -f /dev/shm/jack_sem.*_"$server"_*
}
# Polls rather than sleeps: a loaded machine may take many seconds to start
# a process.
start_sim() {
    "$cli" sim --busy --wire --port unit >"$tmp/sim.log" 2>&1 &
    sim=$!
    for _ in $(seq 600); do
        "$cli" ports 2>/dev/null | grep -q ':unit$' && return
        sleep 0.1
    done
}
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    [ -n "$jack" ] && kill "$jack" 2>/dev/null && wait "$jack" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL $1"; fails=$((fails + 1)); }

start_server || { echo "FAIL: JACK server did not start"; exit 1; }
start_sim

"$cli" get --port unit "$tmp/first.pat" >/dev/null 2>"$tmp/err" || fail "get: $(grep tessiva "$tmp/err")"
[ "$(stat -c %s "$tmp/first.pat" 2>/dev/null)" = 645 ] || fail "get: no 645-byte file"

# A patch of our own goes over and comes back byte for byte.
pat="$tmp/own.pat"
head -c 645 /dev/zero | tr '\0' '\5' >"$pat"
printf 'Round Trip  ' | dd of="$pat" conv=notrunc status=none
"$cli" send --port unit "$pat" >/dev/null 2>"$tmp/err" || fail "send: $(grep tessiva "$tmp/err")"
"$cli" get --port unit "$tmp/back.pat" >/dev/null 2>"$tmp/err" || fail "get back: $(grep tessiva "$tmp/err")"
# Bytes past the 72-byte common block in the first 129 are not the unit's.
cmp -s <(head -c 72 "$pat") <(head -c 72 "$tmp/back.pat") || fail "round trip: common block differs"
cmp -s <(tail -c 516 "$pat") <(tail -c 516 "$tmp/back.pat") || fail "round trip: tones differ"

# The unit's ports keep the name given; their clients carry the program's.
ports=$(jack_lsp 2>/dev/null)
for p in "Tessiva sim:unit" "Tessiva sim-01:unit"; do
    grep -qxF "$p" <<<"$ports" || fail "ports: no '$p' in: $(echo $ports)"
done

# The unit says so and fails when its server goes away.
kill_server
for _ in $(seq 600); do kill -0 "$sim" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$sim" 2>/dev/null; then
    fail "sim: still running without its server"
else
    wait "$sim"
    rc=$?
    [ "$rc" = 1 ] || fail "sim: status $rc without its server"
    grep -q "the MIDI server has gone away" "$tmp/sim.log" || fail "sim: $(tail -1 "$tmp/sim.log")"
fi
sim=""

# The server dies at a different moment of each command. Whatever that
# moment, the command never crashes; it succeeds only with its output and
# fails only with a reason.
for round in 0 1 2 3 4 5; do
    start_server
    start_sim
    if [ $((round % 2)) = 0 ]; then
        args=(send --port unit "$pat")
    else
        args=(get --port unit "$tmp/dying.pat")
    fi
    "$cli" "${args[@]}" >"$tmp/out" 2>"$tmp/err" &
    command=$!
    sleep "0.$((round * 15))"
    kill_server
    wait "$command"
    rc=$?
    case "$rc" in
    0) [ -s "$tmp/out" ] || fail "${args[0]} round $round: success without output" ;;
    1) grep -q "^tessiva-cli ${args[0]}: " "$tmp/err" || fail "${args[0]} round $round: no reason" ;;
    *) fail "${args[0]} round $round: status $rc: $(grep -v '^ALSA' "$tmp/err" | tail -2)" ;;
    esac
    wait "$sim" 2>/dev/null
    sim=""
done

exit $((fails > 0))
