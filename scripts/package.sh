#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds a release build without tests
# in build-package/, and leaves the .deb in dist/.
#   scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build-package
dist=$root/dist

"$root/scripts/install-deps.sh" --package

# Debian's own compiler and linker flags (hardening among them). -Wdate-time is left out: the
# About box shows the build date on purpose.
flags=$(dpkg-buildflags --get CPPFLAGS)
flags="${flags/-Wdate-time/} $(dpkg-buildflags --get CXXFLAGS)"
CXXFLAGS=$flags LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
    "$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release \
    -DTARROW_BUILD_TESTS=OFF -DTARROW_BUILD_BENCH=OFF

rm -rf "$build_dir/cpack"
(cd "$build_dir" && cpack -G DEB -B "$build_dir/cpack")
mkdir -p "$dist"
for deb in "$build_dir"/cpack/*.deb; do
    cp "$deb" "$dist/"
    echo "package: dist/$(basename "$deb")"
done
