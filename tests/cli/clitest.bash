# Helpers the command-line test scripts source (not a test of its own: the
# tests are the *.sh files). Expects $cli, $tmp and fails=0 to be set.

fail() { echo "FAIL $1"; fails=$((fails + 1)); }

# run NAME STATUS ARGS...: checks the exit status and, for a failure, that
# stderr says why. Output lands in $tmp/out and $tmp/err.
run() {
    local name="$1" status="$2"
    shift 2
    "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    local rc=$?
    [ "$rc" = "$status" ] || fail "$name: status $rc (want $status): $(cat "$tmp/err")"
    if [ "$status" != 0 ] && [ ! -s "$tmp/err" ]; then fail "$name: no reason on stderr"; fi
}
