#!/bin/bash
# info, get, send and write of tessiva-cli against the built-in virtual
# synthesizer: exit statuses, output files and refused input.
cli="$1"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sim="Virtual JV-1080 (built-in)"

source "$(dirname "$0")/clitest.bash"

# put FILE OFFSET OCTAL-BYTE: overwrites one byte.
put() { printf "\\$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# A hand-made patch: name, patch level 100 and tone 4's reverb send 5.
pat="$tmp/Strings.pat"
head -c 645 /dev/zero >"$pat"
printf 'Strings 1   ' | dd of="$pat" conv=notrunc status=none
put "$pat" 46 144
put "$pat" 644 005

run info 0 info "$pat"
[ "$(head -1 "$tmp/out")" = "name: Strings 1   " ] || fail "info: name line '$(head -1 "$tmp/out")'"
[ "$(wc -l <"$tmp/out")" = 589 ] || fail "info: $(wc -l <"$tmp/out") lines, want 1 + 72 + 4 x 129"
grep -qx "common 0x2E 100 patch level" "$tmp/out" || fail "info: patch level line"
grep -qx "tone4 0x80 5 reverb send level" "$tmp/out" || fail "info: last tone byte line"

head -c 644 "$pat" >"$tmp/short.pat"
run info-short 1 info "$tmp/short.pat"
grep -q "short.pat" "$tmp/err" || fail "info-short: the message does not name the file"
cp "$pat" "$tmp/high.pat"
put "$tmp/high.pat" 300 200
run info-8bit 1 info "$tmp/high.pat"
run info-two-files 2 info "$pat" "$pat"
run info-device 1 info /dev/zero
grep -q '"/dev/zero" is not a regular file.' "$tmp/err" || fail "info-device: $(cat "$tmp/err")"

# A name holding an escape sequence is shown, not obeyed.
cp "$pat" "$tmp/esc.pat"
printf 'A\033[2JB\177  ' | dd of="$tmp/esc.pat" conv=notrunc status=none
run info-escape 0 info "$tmp/esc.pat"
[ "$(head -1 "$tmp/out")" = 'name: A\x1B[2JB\x7F     ' ] ||
    fail "info-escape: name line '$(head -1 "$tmp/out")'"
run send-escape 0 send --port "$sim" "$tmp/esc.pat"
grep -qF 'patch "A\x1B[2JB\x7F' "$tmp/out" || fail "send-escape: output '$(cat "$tmp/out")'"

run get 0 get --port "$sim" "$tmp/got.pat"
[ "$(stat -c %s "$tmp/got.pat" 2>/dev/null)" = 645 ] || fail "get: no 645-byte file"
"$cli" info "$tmp/got.pat" | head -1 | grep -qx "name: InitPatch   " || fail "get: not the init patch"

run get-unknown-port 1 get --port "No Such Device" "$tmp/x.pat"
[ -e "$tmp/x.pat" ] && fail "get-unknown-port: wrote a file"
# The built-in unit is 17: a request for unit 18 is never answered.
run get-unanswered 1 get --port "$sim" --unit 18 "$tmp/y.pat"
[ -e "$tmp/y.pat" ] && fail "get-unanswered: wrote a file"
grep -q "did not answer" "$tmp/err" || fail "get-unanswered: $(cat "$tmp/err")"

# Only an answer behind the patch confirms a send: a unit that never
# answers (unit 18; the built-in one is 17) makes it a failure.
run send-unconfirmed 1 send --port "$sim" --unit 18 "$pat"
[ -s "$tmp/out" ] && fail "send-unconfirmed: wrote to stdout"
grep -q "cannot be confirmed" "$tmp/err" || fail "send-unconfirmed: $(cat "$tmp/err")"
run write-unconfirmed 1 write --port "$sim" --unit 18 --user 1 "$pat"

run send 0 send --port "$sim" "$pat"
grep -q 'Strings 1' "$tmp/out" || fail "send: output '$(cat "$tmp/out")'"
run send-refused 1 send --port "$sim" "$tmp/short.pat"
[ -s "$tmp/out" ] && fail "send-refused: wrote to stdout"

run write-user 0 write --port "$sim" --user 128 "$pat"
grep -q "USER 128" "$tmp/out" || fail "write-user: output '$(cat "$tmp/out")'"
run write-129 2 write --port "$sim" --card 129 "$pat"
run write-both 2 write --port "$sim" --user 1 --card 1 "$pat"
run write-refused 1 write --port "$sim" --user 1 "$tmp/high.pat"

# A save that fails below the program (no space left, or no file may grow)
# fails the command with the system's reason and keeps the old file whole.
# get_onto NAME DIR REASON [ulimit]: get into DIR/old.pat, a good patch file.
get_onto() {
    local name="$1" dir="$2" reason="$3"
    cp "$pat" "$dir/old.pat" || { fail "$name: cannot set up"; return; }
    [ "$4" = ulimit ] || head -c 1M /dev/zero >"$dir/filler" 2>/dev/null
    # The size limit would hold for files the output goes to as well, so
    # the output goes through pipes.
    rm -f "$tmp/errpipe"
    mkfifo "$tmp/errpipe"
    cat "$tmp/errpipe" >"$tmp/err" &
    (
        trap '' XFSZ
        [ "$4" = ulimit ] && ulimit -f 0
        "$cli" get --port "$sim" "$dir/old.pat" 2>"$tmp/errpipe"
    ) | cat >"$tmp/out"
    local rc=${PIPESTATUS[0]}
    wait
    [ "$rc" = 1 ] || fail "$name: status $rc: $(cat "$tmp/out" "$tmp/err")"
    grep -qF "$dir/old.pat\" could not be written: $reason." "$tmp/err" ||
        fail "$name: $(cat "$tmp/err")"
    [ -s "$tmp/out" ] && fail "$name: wrote to stdout"
    cmp -s "$pat" "$dir/old.pat" || fail "$name: the old file changed"
}
mkdir "$tmp/small"
get_onto get-no-growth "$tmp/small" "File too large" ulimit
# A really full file system where this user may mount one (root).
if mount -t tmpfs -o size=16k tmpfs "$tmp/small" 2>/dev/null; then
    get_onto get-full-disk "$tmp/small" "No space left on device"
    umount "$tmp/small"
else
    echo "note: no tmpfs could be mounted here; the full-disk case ran with a file size limit"
fi

exit $((fails > 0))
