#!/bin/bash
# bank get and bank send of tessiva-cli against the built-in virtual
# synthesizer: files, exit statuses, refused input, and the simulator's
# lost answers.
cli="$1"
data="$2"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sim="Virtual JV-1080 (built-in)"
pad="$data/syx/JV1080_SuperJVPad_user108.syx"

source "$(dirname "$0")/clitest.bash"

# bytes FILE OFFSET COUNT: those bytes as hex.
bytes() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

run get-range 0 bank get --port "$sim" --from 1 --to 4 "$tmp/four.syx"
[ "$(stat -c %s "$tmp/four.syx")" = $((4 * 643)) ] || fail "get-range: not four 643-byte patches"
grep -qx "$tmp/four.syx: 4 patches from USER 1-4, 2572 bytes" "$tmp/out" ||
    fail "get-range: output '$(cat "$tmp/out")'"
[ "$(bytes "$tmp/four.syx" 5 4)" = 11000000 ] || fail "get-range: first address"
run get-card 0 bank get --port "$sim" --card --from 128 "$tmp/card.syx"
[ "$(bytes "$tmp/card.syx" 5 4)" = 217f0000 ] || fail "get-card: first address"

# Nobody answers unit 18: the places are named, and an older file stays.
echo old >"$tmp/kept.syx"
run get-unanswered 1 bank get --port "$sim" --unit 18 --to 2 "$tmp/kept.syx"
[ -s "$tmp/out" ] && fail "get-unanswered: wrote to stdout"
grep -q "USER 1-2 did not arrive" "$tmp/err" || fail "get-unanswered: $(cat "$tmp/err")"
[ "$(cat "$tmp/kept.syx")" = old ] || fail "get-unanswered: the old file changed"

run send 0 bank send --port "$sim" "$pad"
grep -qx "1 patches written to USER 108 and read back the same" "$tmp/out" ||
    fail "send: output '$(cat "$tmp/out")'"
# Written without an answer behind it, nothing is confirmed.
run send-unconfirmed 1 bank send --port "$sim" --unit 18 "$pad"
grep -q "reading them back failed" "$tmp/err" || fail "send-unconfirmed: $(cat "$tmp/err")"
# One spoilt checksum refuses the whole file before anything is sent.
cp "$data/syx/JV1080_AGSOUND1_user01-46.syx" "$tmp/bad.syx"
printf '\x00' | dd of="$tmp/bad.syx" bs=1 seek=81 conv=notrunc status=none
run send-bad-checksum 1 bank send --port "$sim" "$tmp/bad.syx"
grep -q "Nothing was sent" "$tmp/err" || fail "send-bad-checksum: $(cat "$tmp/err")"
run send-directory 1 bank send --port "$sim" "$tmp"

run no-subcommand 2 bank
run place-0 2 bank get --port "$sim" --from 0 "$tmp/x.syx"
run reversed 2 bank get --port "$sim" --from 5 --to 4 "$tmp/x.syx"
run two-files 2 bank send --port "$sim" "$pad" "$pad"
[ -e "$tmp/x.syx" ] && fail "refused get wrote a file"

# The simulator loses every second answer: three of a place's five arrive.
n=$(printf '\xF0\x41\x10\x6A\x11\x11\x00\x00\x00\x00\x00\x17\x01\x57\xF7' |
    "$cli" sim --drop-every 2 --stdio | od -An -v -tx1 | grep -o f7 | wc -l)
[ "$n" = 3 ] || fail "sim --drop-every 2: $n answers"
run sim-drop-bad 2 sim --drop-every x --stdio

exit $((fails > 0))
