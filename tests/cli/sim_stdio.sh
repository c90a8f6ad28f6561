#!/bin/bash
# tessiva-cli sim --stdio and ports: answers byte for byte, memory files,
# busy mode and the device list.
cli="$1"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Hex text to bytes and back with coreutils only.
bin() { printf "$(tr -d ' \n' | sed 's/\(..\)/\\x\1/g')"; }
hexof() { od -An -v -tx1 | tr -d ' \n' | tr a-f A-F; }
fail() { echo "FAIL $1"; echo "  got:  $2"; echo "  want: $3"; fails=$((fails + 1)); }

# check NAME WANT-HEX INPUT-HEX SIM-ARGS...
check() {
    local name="$1" want="$2" input="$3"
    shift 3
    local got
    got=$(echo "$input" | bin | "$cli" sim "$@" --stdio 2>"$tmp/err" | hexof)
    [ "$got" = "$want" ] || fail "$name" "$got" "$want"
}

NAME_RQ="F0 41 10 6A 11 03 00 00 00 00 00 00 0C 71 F7"
INIT_NAME=F041106A1203000000496E6974506174636820202019F7
SET_NAME="F0 41 10 6A 12 03 00 00 00 4E 65 77 20 4E 61 6D 65 20 20 20 20 32 F7"
NEW_NAME=F041106A12030000004E6577204E616D652020202032F7

check name-request "$INIT_NAME" "$NAME_RQ"
# Other MIDI bytes around the messages are skipped.
check set-then-ask "$NEW_NAME" "90 3C 64 $SET_NAME FE $NAME_RQ"
check unit-18 F041116A1203000000496E6974506174636820202019F7 \
    "F0 41 11 6A 11 03 00 00 00 00 00 00 0C 71 F7" --unit 18
# A second request right behind the first finds the unit still sending.
check busy-drops-second "$INIT_NAME" "$NAME_RQ $NAME_RQ" --busy

# USER 1 name written in one run is there in the next.
mem="$tmp/banks.mem"
check memory-write "" "F0 41 10 6A 12 11 00 00 00 4B 65 70 74 20 4E 61 6D 65 20 20 20 5A F7" --memory "$mem"
check memory-read F041106A12110000004B657074204E616D652020205AF7 \
    "F0 41 10 6A 11 11 00 00 00 00 00 00 0C 63 F7" --memory "$mem"

# A file that is not a memory file is refused and left as it was.
echo "not a memory file" >"$tmp/bad.mem"
cp "$tmp/bad.mem" "$tmp/bad.copy"
echo "$NAME_RQ" | bin | "$cli" sim --memory "$tmp/bad.mem" --stdio >"$tmp/out" 2>"$tmp/err"
rc=$?
[ "$rc" = 2 ] && [ ! -s "$tmp/out" ] || fail bad-memory-status "$rc and $(wc -c <"$tmp/out") bytes" "2 and none"
grep -q "not a simulator memory file" "$tmp/err" || fail bad-memory-message "$(cat "$tmp/err")" "not a simulator memory file"
cmp -s "$tmp/bad.mem" "$tmp/bad.copy" || fail bad-memory-unchanged changed unchanged

"$cli" sim 2>/dev/null </dev/null
[ $? = 2 ] || fail sim-without-mode "$?" 2

# ports: the virtual synthesizer first, nothing but device lines on stdout.
"$cli" ports >"$tmp/ports" 2>"$tmp/err" || fail ports-status "$?" 0
[ "$(sed -n 1p "$tmp/ports")" = "in 0 Virtual JV-1080 (built-in)" ] || fail ports-first "$(sed -n 1p "$tmp/ports")" "in 0 Virtual JV-1080 (built-in)"
bad=$(grep -Evx '(in|out) [0-9]+ .+' "$tmp/ports")
[ -z "$bad" ] && grep -qx "out 0 Virtual JV-1080 (built-in)" "$tmp/ports" || fail ports-lines "$(cat "$tmp/ports")" "device lines only, out 0 the virtual unit"

exit $((fails > 0))
