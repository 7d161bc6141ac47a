#!/usr/bin/env bash
# The studio's expected files are what tbs makes of its rows: make-golden.sh is run on a copy of
# web/tests/data and must write the same bytes.
#   tests/check-studio-golden.sh PATH/TO/tbs
set -euo pipefail
tbs=$(realpath "$1")
data=$(cd "$(dirname "$0")/../web/tests/data" && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -r "$data/." "$copy/"
bash "$copy/make-golden.sh" "$tbs"
diff -r "$data" "$copy"
echo "studio golden files: each is what tbs makes"
