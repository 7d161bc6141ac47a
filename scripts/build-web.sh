#!/usr/bin/env bash
# Builds the browser studio: the core compiled to WebAssembly (in build-wasm/), then the page
# bundled into the deployable folder build-web/site/. Installs what is missing first (Emscripten
# and Node.js from Debian's packages, the page's npm packages from its lock file).
#   scripts/build-web.sh [--tests]    --tests also bundles the Node tests
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --web

# Debian's Emscripten runs its tools on Node.js and finds their modules through NODE_PATH when
# the node on the PATH is not Debian's own.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

cd "$root/web"
# npm ci starts node_modules afresh: run it only when the lock file is newer than the last one.
if ! [ node_modules/.installed -nt package-lock.json ]; then
    npm ci --no-audit --no-fund
    touch node_modules/.installed
fi

emcmake cmake -S "$root" -B "$root/build-wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTARROW_WITH_QT=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON \
    -DTARROW_BUILD_TESTS=OFF -DTARROW_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-wasm" --target studiocore --parallel 2
mkdir -p "$root/build-web/wasm"
cp "$root/build-wasm/web/binding/studiocore.mjs" "$root/build-wasm/web/binding/studiocore.wasm" \
    "$root/build-web/wasm/"
node build.mjs "$@"
