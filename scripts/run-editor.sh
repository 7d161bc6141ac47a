#!/usr/bin/env bash
# Installs what is missing, builds the editor in build/ (the tree the tests use too), and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Qt would only fail once the build is done; say it before spending minutes on it.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run-editor: the editor needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
    exit 1
fi
"$root/scripts/install-deps.sh"
# No cache options of its own: whatever run-tests.sh configured stays, so nothing is rebuilt.
"$root/scripts/build.sh" "$root/build" --target tarrow-boot-screen-editor
exec "$root/build/app/tarrow-boot-screen-editor" "$@"
