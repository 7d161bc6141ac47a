#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a bounded time on a
# scratch copy of its seed corpus (tests/fuzz/corpus/<target>/).
#   scripts/fuzz.sh [SECONDS]     seconds per target, at most 60 (default 60)
# TARROW_FUZZ_BUILD_DIR overrides the build tree (default build-fuzz in the repository).
# Exits non-zero when a target finds a crash, a leak, undefined behaviour or a wrong result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "fuzz: SECONDS must be a positive whole number" >&2
    exit 2
fi
[ "$seconds" -gt 60 ] && seconds=60
build_dir=${TARROW_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(fuzz_core_screen fuzz_core_text fuzz_studio_binding fuzz_bootscreen_reader fuzz_image_load
    fuzz_tbs_input)

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
    echo "fuzz: clang is not installed, so there is no libFuzzer here; nothing fuzzed"
    exit 0
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARROW_FUZZ=ON -DTARROW_SANITIZE=ON -DTARROW_BUILD_TESTS=OFF -DTARROW_BUILD_BENCH=OFF >/dev/null
if ! grep -q '^TARROW_COMPILER_HAS_LIBFUZZER:INTERNAL=1' "$build_dir/CMakeCache.txt"; then
    compiler=$(clang++ --version) || compiler=clang++
    echo "fuzz: ${compiler%%$'\n'*} cannot build -fsanitize=fuzzer; nothing fuzzed"
    exit 0
fi
cmake --build "$build_dir" --target "${targets[@]}" -j2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
summary=()
for target in "${targets[@]}"; do
    corpus=$work/$target/corpus
    artifacts=$root/build-fuzz-findings/$target
    mkdir -p "$corpus"
    cp -r "$root/tests/fuzz/corpus/$target/." "$corpus/" 2>/dev/null || true
    log=$work/$target.log
    echo "== $target: ${seconds}s =="
    set +e
    "$build_dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
        -max_len=16384 -print_final_stats=1 -artifact_prefix="$work/$target-" "$corpus" \
        >"$log" 2>&1
    result=$?
    set -e
    runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo "?")
    if [ "$result" -eq 0 ]; then
        summary+=("$target: $runs executions, no findings")
    else
        status=1
        mkdir -p "$artifacts"
        cp "$work/$target"-* "$artifacts/" 2>/dev/null || true
        summary+=("$target: $runs executions, FINDING (exit $result), inputs kept in $artifacts")
        # The findings are taken whole, then cut: head on the pipe would leave grep to die of
        # SIGPIPE, and pipefail would then print the log's tail as well.
        if findings=$(grep -E -A30 'ERROR: |runtime error|abort|SUMMARY' "$log"); then
            sed -n '1,60p' <<<"$findings"
        else
            tail -n 40 "$log"
        fi
    fi
done
echo "== Fuzzing summary =="
printf '%s\n' "${summary[@]}"
exit "$status"
