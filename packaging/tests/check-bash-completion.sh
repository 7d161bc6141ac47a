#!/usr/bin/env bash
# Completing a tbs command line offers what the tool accepts at that point.
#   check-bash-completion.sh COMPLETION BASH_COMPLETION [TBS]
# COMPLETION is the completion for tbs as written; BASH_COMPLETION is bash-completion's main
# script, whose helpers it uses. TBS, the built tool, lists the fonts that --font offers.
set -euo pipefail
completion=$(realpath "$1")
bash_completion=$2
work=$(mktemp -d)
bin=$(mktemp -d)
trap 'rm -rf "$work" "$bin"' EXIT

source "$(dirname "$0")/checking.sh"

if [ -n "${3:-}" ]; then
    ln -s "$(realpath "$3")" "$bin/tbs"
    export PATH="$bin:$PATH"
fi

cd "$work"
touch a.tbs b.png c.jpg
mkdir folder

# Prints the sorted candidates for a line whose cursor is at its end. bash-completion is
# not written for `set -eu`, so each line is completed in a plain shell.
candidates() {
    bash --norc --noprofile -c '
        source "$1" && source "$2" || exit 1
        read -ra COMP_WORDS <<<"$3"
        [[ $3 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=$3
        COMP_POINT=${#3}
        _tbs tbs "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
        printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd " "
    ' candidates "$bash_completion" "$completion" "$1"
}

while IFS='|' read -r line expected; do
    actual=$(candidates "$line")
    [ "$actual" = "$expected" ] || fail "'$line': offered '$actual', expected '$expected'"
done <<'ROWS'
tbs |check compare convert link show text thumbnail
tbs c|check compare convert
tbs -|--help --version
tbs convert --f|--fit --format
tbs convert --dither |atkinson auto bayer floyd-steinberg none regions structure
tbs convert --levels |auto none
tbs convert --v|--verbose
tbs convert --fit c|contain cover
tbs convert --rotate |0 180 270 90 auto
tbs convert --format |bmp pbm png tbs
tbs convert --background |black white
tbs convert --threshold |auto
tbs convert --gamma |
tbs convert --crop |
tbs convert a.tbs -o |a.tbs b.png c.jpg folder
tbs convert --a|--area
tbs convert --over |a.tbs b.png c.jpg folder
tbs text --|--align --area --font --format --help --invert --list-fonts --output --over --rotate --scale --wrap
tbs text --rotate |0 270 90 auto
tbs text --align |center left right
tbs text --area |
tbs text ANNA -o |a.tbs b.png c.jpg folder
tbs text |
tbs show --|--ascii --background --brightness --contrast --crop --dither --fit --gamma --help --invert --levels --rotate --threshold
tbs compare --|--background --brightness --contrast --crop --dither --fit --gamma --help --invert --levels --output --rotate --threshold
tbs compare a.tbs -o |a.tbs b.png c.jpg folder
tbs link --b|--background --base --brightness
tbs link --base |
tbs link |a.tbs b.png c.jpg folder
tbs check -|--help --quiet -q
tbs check |a.tbs folder
tbs thumbnail -s 128 |a.tbs b.png c.jpg folder
tbs thumbnail -s 128 a.tbs |b.png folder
ROWS
if [ -n "${3:-}" ]; then
    while IFS='|' read -r line expected; do
        actual=$(candidates "$line")
        [ "$actual" = "$expected" ] || fail "'$line': offered '$actual', expected '$expected'"
    done <<'ROWS'
tbs text --font |auto fixed-4x6 fixed-5x7 fixed-5x8 fixed-6x10 fixed-7x14 spleen-6x12 spleen-8x16
tbs text --font s|spleen-6x12 spleen-8x16
ROWS
fi
finish
