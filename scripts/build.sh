#!/usr/bin/env bash
# Configures and builds one build tree. Used by run-editor.sh, run-tests.sh and take-screenshot.sh.
#   scripts/build.sh BUILD_DIR [--target TARGET] [extra cmake arguments...]
# With --target only that target and what it needs are built. The editor scripts and the tests
# share build/: a cache option one of them passes and the other does not is kept as it was,
# while two differing values would rebuild everything each time the other one runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
target=()
if [ "${1:-}" = --target ]; then
    target=(--target "$2")
    shift 2
fi
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" --parallel "$(nproc)" "${target[@]}"
