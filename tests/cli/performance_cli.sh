#!/bin/bash
# get and send of the temporary performance and rhythm set by tessiva-cli
# against the built-in virtual synthesizer: exit statuses, .syx files and
# refused input.
cli="$1"
fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sim="Virtual JV-1080 (built-in)"

source "$(dirname "$0")/clitest.bash"

# 17 messages: 64 + 11 bytes for the common block, 19 + 11 for each part.
run get-performance 0 get --port "$sim" --performance "$tmp/perf.syx"
[ "$(stat -c %s "$tmp/perf.syx" 2>/dev/null)" = 555 ] || fail "get-performance: no 555-byte file"
grep -q 'performance "Init Perform"' "$tmp/out" || fail "get-performance: '$(cat "$tmp/out")'"
[ "$(head -c 9 "$tmp/perf.syx" | od -An -tx1 | tr -d ' \n')" = f041106a1201000000 ] ||
    fail "get-performance: the file does not start with the common block"

# 65 messages: 12 + 11 for the name, 58 + 11 for each of the 64 keys.
run get-rhythm 0 get --port "$sim" --rhythm "$tmp/kit.syx"
[ "$(stat -c %s "$tmp/kit.syx" 2>/dev/null)" = 4439 ] || fail "get-rhythm: no 4439-byte file"

run send-performance 0 send --port "$sim" --performance "$tmp/perf.syx"
grep -q 'sent to the temporary performance' "$tmp/out" || fail "send-performance: '$(cat "$tmp/out")'"
run send-rhythm 0 send --port "$sim" --rhythm "$tmp/kit.syx"

run send-wrong-content 1 send --port "$sim" --rhythm "$tmp/perf.syx"
grep -q 'holds no complete rhythm set' "$tmp/err" || fail "send-wrong-content: $(cat "$tmp/err")"
head -c 500 "$tmp/perf.syx" >"$tmp/short.syx"
run send-cut-short 1 send --port "$sim" --performance "$tmp/short.syx"
grep -q 'holds no complete performance or rhythm set' "$tmp/err" ||
    fail "send-cut-short: $(cat "$tmp/err")"
run send-device 1 send --port "$sim" --performance /dev/zero
run both-options 2 get --port "$sim" --performance --rhythm "$tmp/x.syx"
[ -e "$tmp/x.syx" ] && fail "both-options: wrote a file"

# The built-in unit is 17: a request for unit 18 is never answered, and a
# send to it cannot be confirmed.
run get-unanswered 1 get --port "$sim" --unit 18 --rhythm "$tmp/y.syx"
[ -e "$tmp/y.syx" ] && fail "get-unanswered: wrote a file"
grep -q "did not answer the rhythm set request" "$tmp/err" || fail "get-unanswered: $(cat "$tmp/err")"
run send-unconfirmed 1 send --port "$sim" --unit 18 --performance "$tmp/perf.syx"
grep -q "cannot be confirmed" "$tmp/err" || fail "send-unconfirmed: $(cat "$tmp/err")"

exit $((fails > 0))
