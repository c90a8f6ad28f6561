#!/bin/bash
# get and send of tessiva-cli against the virtual synthesizer in another
# process, over a private JACK server: a busy unit at cable speed, whose
# dropped answers the fetch must ask for again.
cli="$1"
command -v jackd >/dev/null || { echo "SKIP: no jackd"; exit 0; }
fails=0
tmp=$(mktemp -d)
server="tessiva-transfer-$$"
export JACK_DEFAULT_SERVER="$server"
jackd -n "$server" --no-realtime --sync --port-max 128 -d dummy -r 48000 -p 256 \
    >"$tmp/jackd.log" 2>&1 &
jack=$!
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    kill "$jack" 2>/dev/null
    wait "$jack" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
jack_wait -w -t 10 >/dev/null || { echo "FAIL: JACK server did not start"; exit 1; }

"$cli" sim --busy --wire --port unit >"$tmp/sim.log" 2>&1 &
sim=$!
for _ in $(seq 50); do
    "$cli" ports 2>/dev/null | grep -q ':unit$' && break
    sleep 0.1
done

fail() { echo "FAIL $1"; fails=$((fails + 1)); }

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

exit $((fails > 0))
