#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
#   scripts/run-tests.sh                 normal build, all tests
#   scripts/run-tests.sh --sanitize      also an ASan + UBSan build, all tests again
#   scripts/run-tests.sh --fuzz SECONDS  also run each libFuzzer target that long
#   scripts/run-tests.sh --bench         also run the benchmarks and print their medians
# The browser studio's tests (scripts/test-web.sh) run after the normal build's.
# CI=true turns on -Werror.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
fuzz_seconds=0
bench=0
while [ $# -gt 0 ]; do
    case "$1" in
    --sanitize) sanitize=1 ;;
    --fuzz) fuzz_seconds=$2; shift ;;
    --bench) bench=1 ;;
    *) echo "run-tests: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

deps=(--package)  # the validators of the packaging checks
[ "$fuzz_seconds" -gt 0 ] && deps+=(--fuzz)
[ "$bench" -eq 1 ] && deps+=(--bench)
"$root/scripts/install-deps.sh" "${deps[@]}"

werror=OFF
[ "${CI:-}" = true ] && werror=ON
export QT_QPA_PLATFORM=offscreen

summaries=()
run_ctest() {
    local build_dir=$1 label=$2 log
    log=$(mktemp)
    set +e
    (cd "$build_dir" && ctest --output-on-failure --timeout 600 -j "$(nproc)") 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    set -e
    summaries+=("$label: $(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n 1)")
    rm -f "$log"
    return "$status"
}

status=0
echo "== Core alone, without Qt =="
"$root/scripts/build.sh" "$root/build-core" -DTARROW_WERROR=$werror -DTARROW_WITH_QT=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
run_ctest "$root/build-core" core || status=1

echo "== Normal build =="
"$root/scripts/build.sh" "$root/build" -DTARROW_WERROR=$werror
run_ctest "$root/build" normal || status=1

echo "== Browser studio =="
log=$(mktemp)
set +e
# The studio's tests run the tbs commands the page shows with the normal build's tbs.
TBS="$root/build/tbs/tbs" "$root/scripts/test-web.sh" 2>&1 | tee "$log"
web_status=${PIPESTATUS[0]}
set -e
# node's test runner ends with "# pass N" and "# fail N"; summed like CTest's lines below.
web_passed=$(grep -E '^# pass [0-9]+$' "$log" | tail -n 1 | cut -d' ' -f3)
web_failed=$(grep -E '^# fail [0-9]+$' "$log" | tail -n 1 | cut -d' ' -f3)
rm -f "$log"
web_total=$((${web_passed:-0} + ${web_failed:-0}))
summaries+=("studio: ${web_passed:-0} tests passed, ${web_failed:-0} tests failed out of $web_total")
[ "$web_status" -eq 0 ] || status=1

if [ "$bench" -eq 1 ]; then
    echo "== Benchmarks =="
    for program in "$root"/build/bench/bench_*; do
        [ -x "$program" ] && "$program"
    done
fi

if [ "$sanitize" -eq 1 ]; then
    echo "== ASan + UBSan build =="
    "$root/scripts/build.sh" "$root/build-asan" -DTARROW_WERROR=$werror -DTARROW_SANITIZE=ON \
        -DTARROW_BUILD_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp
    # QtTest's own crash handler would take the sanitizers' signals and then hang attaching a
    # debugger for its stack trace; the sanitizers print better reports themselves.
    export QTEST_DISABLE_CRASH_HANDLER=1
    run_ctest "$root/build-asan" sanitizers || status=1
fi

if [ "$fuzz_seconds" -gt 0 ]; then
    echo "== Fuzzing, ${fuzz_seconds}s a target =="
    "$root/scripts/fuzz.sh" "$fuzz_seconds" || status=1
fi

echo "== Summary =="
printf '%s\n' "${summaries[@]}"
passed=0
failed=0
for line in "${summaries[@]}"; do
    if [[ $line =~ failed\ out\ of\ ([0-9]+) ]]; then
        total=${BASH_REMATCH[1]}
        [[ $line =~ ([0-9]+)\ tests?\ failed ]] && f=${BASH_REMATCH[1]} || f=0
        passed=$((passed + total - f))
        failed=$((failed + f))
    fi
done
[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "tests: $passed passed, $failed failed"
exit "$status"
