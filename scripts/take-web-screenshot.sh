#!/usr/bin/env bash
# Retakes the README's pictures of the browser studio in headless Chromium: docs/studio-desktop.png
# (1280 x 800), docs/studio-tablet.png (768 x 1024) and docs/studio-phone.png (360 x 740).
#   scripts/take-web-screenshot.sh [FOLDER]    writes the three into FOLDER instead of docs/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath -m "${1:-$root/docs}")
"$root/scripts/install-deps.sh" --web --browser
"$root/scripts/build-web.sh"
node "$root/web/screenshot.mjs" "$folder"
