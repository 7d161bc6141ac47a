#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build-editor" -DTARROW_BUILD_TESTS=OFF -DTARROW_BUILD_BENCH=OFF
exec "$root/build-editor/app/tarrow-boot-screen-editor" "$@"
