#!/usr/bin/env bash
# CPack builds the Debian package from the build tree; its control fields and contents are
# what the package promises, and lintian finds nothing that the package does not override.
#   check-debian-package.sh BUILD_DIR PROJECT_VERSION WITH_TBS(ON|OFF)
set -euo pipefail
build_dir=$1
version=$2
with_tbs=$3
package=tarrow-boot-screen-editor
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

source "$(dirname "$0")/checking.sh"

if ! "${CPACK_COMMAND:-cpack}" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log" >&2
    exit 1
fi
deb=$out/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: cpack made no $(basename "$deb")" >&2; ls "$out" >&2; exit 1; }

field() {
    dpkg-deb --field "$deb" "$1"
}
[ "$(field Package)" = "$package" ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the project is $version"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^@\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
depends=", $(field Depends),"
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    [[ $depends == *", $dependency "[\(,]* || $depends == *", $dependency,"* ]] ||
        fail "Depends lacks $dependency: $(field Depends)"
done
[ "$(field Recommends)" = "qt6-image-formats-plugins, libqt6svg6" ] ||
    fail "Recommends: $(field Recommends)"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 5 ] || fail "Description has no long text: $description"

# Contents: every installed file, owned by root, with the permissions Debian expects.
listing=$(dpkg-deb --contents "$deb")
expect_file() {
    local path=$1 mode=$2 line
    line=$(awk -v path="./$path" '$6 == path' <<<"$listing")
    if [ -z "$line" ]; then
        fail "the package lacks /$path"
    elif [[ $line != "$mode root/root "* ]]; then
        fail "/$path: $line"
    fi
}
expect_file usr/bin/tarrow-boot-screen-editor -rwxr-xr-x
[ "$with_tbs" = ON ] && expect_file usr/bin/tbs -rwxr-xr-x
data_files=(
    usr/share/applications/org.tarrow.BootScreenEditor.desktop
    usr/share/metainfo/org.tarrow.BootScreenEditor.metainfo.xml
    usr/share/mime/packages/org.tarrow.BootScreenEditor.xml
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/org.tarrow.BootScreenEditor.png
    usr/share/man/man1/tarrow-boot-screen-editor.1.gz
    usr/share/doc/$package/{copyright,changelog.gz}
)
if [ "$with_tbs" = ON ]; then
    data_files+=(
        usr/share/thumbnailers/org.tarrow.BootScreenEditor.thumbnailer
        usr/share/bash-completion/completions/tbs
        usr/share/man/man1/tbs.1.gz
    )
fi
for path in "${data_files[@]}"; do
    expect_file "$path" -rw-r--r--
done
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print "FAIL: directory " $6 ": " $1 }' <<<"$listing" | grep . >&2 &&
    fail "directories without mode 755"
# The listing is taken whole before it is searched: a search that stops at its first match would
# leave the writers to die of SIGPIPE, which pipefail reports as a failure.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t) || fail "cannot list the control archive"
grep -qx './md5sums' <<<"$control" || fail "no md5sums in the control archive"

changelog_version=$(dpkg-deb --fsys-tarfile "$deb" |
    tar -xO "./usr/share/doc/$package/changelog.gz" | zcat | sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is $changelog_version"

# Any tag the package keeps must be overridden, with its reason, in the package itself.
if ! lintian --fail-on error,warning,info,pedantic --display-level '>=pedantic' \
    --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1; then
    fail "lintian:"
    cat "$out/lintian.log" >&2
fi

finish
