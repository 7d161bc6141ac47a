#!/usr/bin/env bash
# The AppStream metadata validates, on its own and together with the installed desktop entry
# and icons, and its newest release is the project's version.
#   check-metainfo.sh BUILD_DIR PROJECT_VERSION
# --strict fails on warnings and infos too. The one pedantic hint left is
# cid-contains-uppercase-letter: the application ID is fixed and shared by every file.
set -euo pipefail
source "$(dirname "$0")/installed-tree.sh"
version=$2

metainfo=$usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate"
appstreamcli validate-tree --no-net --strict "$usr" || fail "appstreamcli validate-tree"

newest=$(xmllint --xpath 'string(/component/releases/release[1]/@version)' "$metainfo")
[ "$newest" = "$version" ] || fail "newest release in the metadata is '$newest', the project is $version"
finish
