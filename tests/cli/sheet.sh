#!/bin/bash
# sheet and diff of tessiva-cli on a real patch (Super JV Pad, a JV-1080
# USER patch): display texts, wave names from the shipped lists, and the
# exit statuses scripts rely on.
cli="$1"
data="$2"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
pat="$data/pat/SuperJVPad.pat"
syx="$data/syx/JV1080_SuperJVPad_user023.syx"
bank="$data/syx/JV1080_AGSOUND1_user01-46.syx"

source "$(dirname "$0")/clitest.bash"

# put FILE OFFSET OCTAL-BYTE: overwrites one byte.
put() { printf "\\$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

run sheet 0 sheet "$pat"
cp "$tmp/out" "$tmp/sheet"
has() { grep -qE "$1" "$tmp/sheet" || fail "sheet: no line like '$1'"; }
has '^  Name +Super JV Pad$'
has '^\[Tone 1 Wave\]$'
has '^  Wave Group +Int-B$'
has '^  Wave +26 Synth Saw 1$'
has '^  EFX Type +20: Quad-Tap-Delay$'
has '^  EFX Parameter 1 +Dly\.Tm L-: 1000ms$'
has '^  Patch Pan +Cent$'
has '^  Bias Point +-C4-m$'
has '^  Reverb HF Damp +4000 Hz$'
has '^  Reverb Type +Stage 2$'
[ "$(grep -c '^\[' "$tmp/sheet")" = 35 ] || fail "sheet: $(grep -c '^\[' "$tmp/sheet") groups, want 35"

# A patch against itself: nothing, status 0.
"$cli" diff "$pat" "$pat" >"$tmp/out" 2>"$tmp/err"
rc=$?
[ "$rc" = 0 ] || fail "diff same: status $rc"
[ -s "$tmp/out" ] && fail "diff same: printed $(cat "$tmp/out")"

# Three bytes changed: patch level, tone 2's cutoff, tone 4's reverb send.
cp "$pat" "$tmp/edited.pat"
put "$tmp/edited.pat" 46 144    # 100
put "$tmp/edited.pat" 339 050   # 258 + 0x51: 40
put "$tmp/edited.pat" 644 005
"$cli" diff "$pat" "$tmp/edited.pat" >"$tmp/out" 2>"$tmp/err"
rc=$?
[ "$rc" = 1 ] || fail "diff edited: status $rc"
[ "$(wc -l <"$tmp/out")" = 3 ] || fail "diff edited: $(wc -l <"$tmp/out") lines: $(cat "$tmp/out")"
grep -qE '^Common: Patch Level +127 \| 100$' "$tmp/out" || fail "diff: patch level line"
grep -qE '^Tone 2 TVF: Cutoff +[0-9]+ +\| 40$' "$tmp/out" || fail "diff: cutoff line"
grep -qE '^Tone 4 Mixer: Reverb Send +98 +\| 5$' "$tmp/out" || fail "diff: reverb send line"

# The same patch in its .syx dump reads the same; a bank gives the patch of
# the place asked for.
"$cli" diff "$pat" "$syx" >"$tmp/out" 2>"$tmp/err"
rc=$?
[ "$rc" = 0 ] || fail "diff pat/syx: status $rc: $(cat "$tmp/out" "$tmp/err")"
run sheet-place 0 sheet --place 3 "$bank"
grep -qE '^  Name +[^ ]' "$tmp/out" || fail "sheet --place 3: no name line"
run sheet-place-missing 2 sheet --place 47 "$bank"
grep -q "46 patches" "$tmp/err" || fail "sheet --place 47: $(cat "$tmp/err")"

# Refused input says why and prints nothing.
printf 'short' >"$tmp/short.pat"
run sheet-short 2 sheet "$tmp/short.pat"
[ -s "$tmp/out" ] && fail "sheet short: printed something"
grep -q "short.pat" "$tmp/err" || fail "sheet short: no reason"
run diff-one-file 2 diff "$pat"
run sheet-place-0 2 sheet --place 0 "$pat"

[ "$fails" = 0 ] && echo "all sheet checks passed"
exit $((fails > 0))
