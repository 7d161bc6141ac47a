# Sourced by the packaging checks: fail() records a failure and lets the check go on,
# finish() exits with the result.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
finish() {
    [ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures checks failed" >&2
    exit $((failures > 0))
}
