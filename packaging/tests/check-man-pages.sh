#!/usr/bin/env bash
# Every manual page built formats without a warning from groff or man and has a NAME line
# that whatis/apropos can read; the pages of the installed programs are installed.
#   check-man-pages.sh BUILD_DIR WITH_TBS(ON|OFF)
# tbs(1) is built and checked even before there is a tbs to install it with.
set -euo pipefail
source "$(dirname "$0")/installed-tree.sh"
with_tbs=$2

names=(tarrow-boot-screen-editor tbs)
installed=(tarrow-boot-screen-editor)
[ "$with_tbs" = ON ] && installed+=(tbs)

for name in "${names[@]}"; do
    page=$build_dir/packaging/man/$name.1.gz
    if ! report=$(zcat "$page" | groff -ww -z -man 2>&1) || [ -n "$report" ]; then
        fail "groff on $name(1): $report"
    fi
    # The way lintian runs man: every warning groff has, on a terminal of 80 columns.
    if ! report=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || [ -n "$report" ]; then
        fail "man on $name(1): $report"
    fi
    # Taken whole first: grep -q on a pipe may leave lexgrog to die of SIGPIPE under pipefail.
    whatis_line=$(lexgrog "$page") || whatis_line=
    grep -q ": \"$name - " <<<"$whatis_line" || fail "$name(1): whatis cannot read its NAME line"
done
for name in "${installed[@]}"; do
    cmp -s "$build_dir/packaging/man/$name.1.gz" "$usr/share/man/man1/$name.1.gz" ||
        fail "$name(1) is not installed as usr/share/man/man1/$name.1.gz"
done
finish
