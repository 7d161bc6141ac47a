#!/usr/bin/env bash
# Writes the expected files of the binding's tests with tbs, the reference for every rule:
# the screens of conversions.txt and compositions.txt, the check findings of odd.tbs and the
# editor's BMP of a screen.
#   web/tests/data/make-golden.sh PATH/TO/tbs
set -euo pipefail
tbs=$(realpath "$1")
cd "$(dirname "$0")"
grep -v '^#' conversions.txt | while read -r picture expected options; do
    # shellcheck disable=SC2086 # the options are words
    "$tbs" convert "$picture" $options -o "$expected"
done
grep -v '^#' compositions.txt | while IFS='|' read -r convert lines text; do
    read -r expected picture convert_options <<<"$convert"
    IFS=';' read -r -a text_lines <<<"$(echo "$lines" | sed 's/^ *//; s/ *$//')"
    # shellcheck disable=SC2086 # the options are words
    "$tbs" convert "$picture" $convert_options -o "$expected"
    # shellcheck disable=SC2086
    "$tbs" text "${text_lines[@]}" $text --over "$expected" -o "$expected"
done
"$tbs" check odd.tbs >odd.check.txt || true
"$tbs" convert badge-default.tbs -o badge-default.bmp
