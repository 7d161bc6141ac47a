#!/usr/bin/env bash
# Builds the browser studio and runs its tests: the WebAssembly binding and the studio's state
# in Node, then the page end to end in headless Chromium (Debian's, driven by playwright-core).
#   scripts/test-web.sh [--perf]    --perf also measures and prints the performance figures
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
perf=0
for arg in "$@"; do
    case "$arg" in
    --perf) perf=1 ;;
    *) echo "test-web: unknown option $arg" >&2; exit 2 ;;
    esac
done
"$root/scripts/install-deps.sh" --web --browser
"$root/scripts/build-web.sh" --tests
cd "$root/web"
tests=("$root"/build-web/node-tests/*.test.mjs tests/browser/*.test.mjs)
[ "$perf" -eq 1 ] && tests+=(tests/performance/*.perf.mjs)
node --test --test-concurrency=1 "${tests[@]}"
