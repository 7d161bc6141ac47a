#!/usr/bin/env bash
# Retakes docs/studio-screenshot.png: the browser studio in headless Chromium.
#   scripts/take-web-screenshot.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs/studio-screenshot.png}")
"$root/scripts/install-deps.sh" --web --browser
"$root/scripts/build-web.sh"
node "$root/web/screenshot.mjs" "$output"
