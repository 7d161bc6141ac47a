#!/usr/bin/env bash
# The installed tbs reports its version, and the thumbnailer entry, run the way a file
# manager runs it, turns a boot screen file into a PNG of the requested size.
#   check-tbs.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
source "$(dirname "$0")/installed-tree.sh"
version=$2
export PATH=$usr/bin:$PATH

reported=$(tbs --version) || fail "tbs --version failed"
[ "$reported" = "tbs $version" ] || fail "tbs --version printed '$reported'"

# Only the top-left pixel lit: a picture that the wrong orientation would give away.
for ((line = 1; line <= 512; line++)); do
    if [ "$line" -eq 385 ]; then printf '128\r\n'; else printf '0\r\n'; fi
done >"$work/top left.tbs"

exec_line=$(sed -n 's/^Exec=//p' "$usr/share/thumbnailers/$app_id.thumbnailer")
read -ra words <<<"$exec_line"
command=()
for word in "${words[@]}"; do
    case $word in
    %s) command+=(128) ;;
    %i) command+=("$work/top left.tbs") ;;
    %o) command+=("$work/thumbnail.png") ;;
    *) command+=("$word") ;;
    esac
done
if "${command[@]}"; then
    size=$(png_size "$work/thumbnail.png")
    [ "$size" = 32x128 ] || fail "the 128 px thumbnail of a 32 x 128 picture is $size"
else
    fail "the thumbnailer command failed: ${command[*]}"
fi
finish
