#!/bin/bash
# syx2pat, pat2syx and syxinfo of tessiva-cli on the real dumps: patch files
# made from a dump go back into the same messages byte for byte; partial
# results say what is missing and exit with 1.
cli="$1"
syx="$2/syx"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bank="$syx/JV1080_AGSOUND1_user01-46.syx"
dump_size=643

source "$(dirname "$0")/clitest.bash"

# flip FILE OFFSET: changes the lowest bit of one byte.
flip() {
    local b
    b=$(od -An -tu1 -j"$2" -N1 "$1" | tr -d ' ')
    printf "\\$(printf %03o $((b ^ 1)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

run info-bank 0 syxinfo "$bank"
[ "$(wc -l <"$tmp/out")" = 47 ] || fail "info-bank: $(wc -l <"$tmp/out") lines, want 46 + 1"
[ "$(head -1 "$tmp/out")" = 'USER 001 "RedPowerBass" ok' ] || fail "info-bank: '$(head -1 "$tmp/out")'"
grep -qx 'USER 029 "Funkin'"'"' Echo" ok' "$tmp/out" || fail "info-bank: USER 029 line"
[ "$(tail -1 "$tmp/out")" = "46 patches read" ] || fail "info-bank: '$(tail -1 "$tmp/out")'"

# Tone 3 of USER 12 with a wrong checksum: 45 patches and the reason.
cp "$bank" "$tmp/bad.syx"
flip "$tmp/bad.syx" $((11 * dump_size + 83 + 3 * 140 - 2))
run info-bad 1 syxinfo "$tmp/bad.syx"
grep -qx "tessiva-cli syxinfo: 45 patches read; skipped: 1 bad checksum" "$tmp/err" ||
    fail "info-bad: $(cat "$tmp/err")"
grep -qx "skipped: USER 012: checksum wrong in tone 3 (message 59); patch not loaded" "$tmp/out" ||
    fail "info-bad: no skipped line"
grep -q "USER 012" <(grep ' ok$' "$tmp/out") && fail "info-bad: USER 012 listed as read"

run info-folder 1 syxinfo "$tmp"
[ -s "$tmp/out" ] && fail "info-folder: wrote to stdout"
grep -qF "is a folder" "$tmp/err" || fail "info-folder: $(cat "$tmp/err")"
run info-no-patch 1 syxinfo "$syx/XP60_partial_replies.syx"
grep -qF "holds no complete patch" "$tmp/err" || fail "info-no-patch: $(cat "$tmp/err")"
grep -qF "USER 001: incomplete" "$tmp/err" || fail "info-no-patch: no reason for USER 001"
run info-two 2 syxinfo "$bank" "$bank"

# Every real patch to a patch file and back to the messages it came from.
run split-bank 0 syx2pat "$bank" "$tmp/pats"
[ "$(ls "$tmp/pats" | wc -l)" = 46 ] || fail "split-bank: $(ls "$tmp/pats" | wc -l) files"
for f in "U001 RedPowerBass.pat" "U016 Wind & Rain.pat" "U029 Funkin' Echo.pat"; do
    [ "$(stat -c %s "$tmp/pats/$f" 2>/dev/null)" = 645 ] || fail "split-bank: no '$f'"
done
grep -qx 'U046 Rave Organ 3.pat: USER 046 "Rave Organ 3"' "$tmp/out" || fail "split-bank: output"
: >"$tmp/joined.syx"
for n in $(seq 1 46); do
    f=$(ls "$tmp/pats" | grep "^U$(printf %03d "$n") ")
    run "pat2syx-$n" 0 pat2syx --user "$n" "$tmp/pats/$f" "$tmp/one.syx"
    cat "$tmp/one.syx" >>"$tmp/joined.syx"
done
cmp -s "$bank" "$tmp/joined.syx" || fail "round trip: the 46 patches differ from the dump"
for place in 023 108; do
    file="$syx/JV1080_SuperJVPad_user$place.syx"
    run "split-$place" 0 syx2pat "$file" "$tmp/pad$place"
    run "join-$place" 0 pat2syx --user "$((10#$place))" "$tmp/pad$place/U$place Super JV Pad.pat" \
        "$tmp/pad$place.syx"
    cmp -s "$file" "$tmp/pad$place.syx" || fail "round trip: USER $place differs"
done

# A second run into the same folder overwrites nothing.
cp "$tmp/pats/U001 RedPowerBass.pat" "$tmp/keep.pat"
printf 'X' | dd of="$tmp/pats/U001 RedPowerBass.pat" conv=notrunc status=none
run split-again 0 syx2pat "$bank" "$tmp/pats"
[ "$(ls "$tmp/pats" | wc -l)" = 92 ] || fail "split-again: $(ls "$tmp/pats" | wc -l) files"
[ "$(head -c 1 "$tmp/pats/U001 RedPowerBass.pat")" = X ] || fail "split-again: overwrote a file"
cmp -s "$tmp/keep.pat" "$tmp/pats/U001 RedPowerBass (2).pat" || fail "split-again: no (2) file"

run split-bad 1 syx2pat "$tmp/bad.syx" "$tmp/partial"
[ "$(ls "$tmp/partial" | wc -l)" = 45 ] || fail "split-bad: $(ls "$tmp/partial" | wc -l) files"
grep -qF "USER 012: checksum wrong" "$tmp/err" || fail "split-bad: $(cat "$tmp/err")"
run split-no-patch 1 syx2pat "$syx/XP60_partial_replies.syx" "$tmp/none"
[ -e "$tmp/none" ] && fail "split-no-patch: made the folder"
run split-into-file 1 syx2pat "$bank" "$tmp/bad.syx"

# Names that no file system takes, and names that would steer a terminal.
head -c 645 /dev/zero >"$tmp/odd.pat"
printf 'A/B:C*?\033[2J ' | dd of="$tmp/odd.pat" conv=notrunc status=none
run odd-syx 0 pat2syx --user 5 "$tmp/odd.pat" "$tmp/odd.syx"
run odd-split 0 syx2pat "$tmp/odd.syx" "$tmp/odd"
[ -f "$tmp/odd/U005 A_B_C___[2J.pat" ] || fail "odd-split: files $(ls "$tmp/odd")"
grep -qF 'USER 005 "A/B:C*?\x1B[2J "' "$tmp/out" || fail "odd-split: output $(cat "$tmp/out")"

# The temporary patch, other unit IDs, and refused arguments.
pat="$tmp/pats/U001 RedPowerBass (2).pat"
run temp 0 pat2syx "$pat" "$tmp/temp.syx"
[ "$(stat -c %s "$tmp/temp.syx")" = $dump_size ] || fail "temp: size"
[ "$(head -c 9 "$tmp/temp.syx" | od -An -tx1 | tr -d ' \n')" = f041106a1203000000 ] ||
    fail "temp: header"
grep -qF 'patch "RedPowerBass" for the temporary patch' "$tmp/out" || fail "temp: $(cat "$tmp/out")"
run unit 0 pat2syx --unit 32 --user 128 "$pat" "$tmp/unit.syx"
[ "$(head -c 9 "$tmp/unit.syx" | od -An -tx1 | tr -d ' \n')" = f0411f6a12117f0000 ] ||
    fail "unit: header"
run user-0 2 pat2syx --user 0 "$pat" "$tmp/x.syx"
run user-129 2 pat2syx --user 129 "$pat" "$tmp/x.syx"
run one-arg 2 pat2syx "$pat"
head -c 644 "$pat" >"$tmp/short.pat"
run short 1 pat2syx "$tmp/short.pat" "$tmp/x.syx"
[ -e "$tmp/x.syx" ] && fail "short: wrote a file"
grep -qF "holds 644 bytes" "$tmp/err" || fail "short: $(cat "$tmp/err")"

exit $((fails > 0))
