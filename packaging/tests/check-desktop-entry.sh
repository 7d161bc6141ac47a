#!/usr/bin/env bash
# The installed desktop entry passes desktop-file-validate without a word, starts a program
# that is installed, takes no file arguments, and names an icon installed at every size.
#   check-desktop-entry.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/installed-tree.sh"

entry=$usr/share/applications/$app_id.desktop
if ! report=$(desktop-file-validate "$entry" 2>&1) || [ -n "$report" ]; then
    fail "desktop-file-validate: $report"
fi

exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line: no such program in usr/bin"
# The editor opens files only through its dialogs: a field code or a MimeType would make file
# managers offer it for files it would silently ignore.
[[ $exec_line != *%* ]] || fail "Exec=$exec_line passes files to the editor"
! grep -q '^MimeType=' "$entry" || fail "the entry claims file types the editor cannot be handed"

icon=$(sed -n 's/^Icon=//p' "$entry")
[ "$icon" = "$app_id" ] || fail "Icon=$icon, expected $app_id"
for size in 16 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
        fail "the ${size}x${size} icon is $(png_size "$png")"
    fi
done
finish
