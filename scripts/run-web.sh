#!/usr/bin/env bash
# Installs what is missing, builds the browser studio and serves it on this machine only.
#   scripts/run-web.sh [--port N]    (default port 8123)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=8123
while [ $# -gt 0 ]; do
    case "$1" in
    --port)
        [ $# -ge 2 ] || { echo "run-web: --port takes a number" >&2; exit 2; }
        port=$2
        shift
        ;;
    *) echo "run-web: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
[[ $port =~ ^[0-9]+$ ]] || { echo "run-web: --port takes a number, not '$port'" >&2; exit 2; }
"$root/scripts/build-web.sh"
exec node "$root/web/serve.mjs" --port "$port"
