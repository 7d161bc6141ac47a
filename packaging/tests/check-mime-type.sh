#!/usr/bin/env bash
# The shared-mime-info package is well-formed, defines the .tbs type as intended, and
# update-mime-database takes it without a warning; the thumbnailer names only that type.
#   check-mime-type.sh BUILD_DIR THUMBNAILER
# THUMBNAILER is the thumbnailer entry as written (it is installed only together with tbs).
# No schema for shared-mime-info packages is installed anywhere offline, so the elements that
# matter are checked one by one and update-mime-database, which reads them, has the last word.
set -euo pipefail
source "$(dirname "$0")/installed-tree.sh"
thumbnailer=$2
type=application/x-tarrow-boot-screen

package=$usr/share/mime/packages/$app_id.xml
xmllint --noout "$package" || fail "xmllint: not well-formed"
xpath() {
    xmllint --xpath "$1" "$package" 2>/dev/null
}
node="/*[local-name()='mime-info']/*[local-name()='mime-type'][@type='$type']"
[ "$(xpath "count($node)")" = 1 ] || fail "$type is not defined exactly once"
[ "$(xpath "string($node/*[local-name()='glob']/@pattern)")" = '*.tbs' ] || fail "no *.tbs glob"
[ "$(xpath "string($node/*[local-name()='sub-class-of']/@type)")" = text/plain ] ||
    fail "not a sub-class of text/plain"
[ -n "$(xpath "string($node/*[local-name()='comment'][not(@*)])")" ] || fail "no comment"
[ -n "$(xpath "string($node/*[local-name()='generic-icon']/@name)")" ] || fail "no generic icon"

cp -r "$usr/share/mime" "$work/mime"
if ! report=$(XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>&1) || [ -n "$report" ]; then
    fail "update-mime-database: $report"
fi
grep -qx "50:$type:\*.tbs" "$work/mime/globs2" || fail "the database does not map *.tbs to $type"
grep -qx "$type text/plain" "$work/mime/subclasses" || fail "the database does not know the parent type"

[ "$(head -n 1 "$thumbnailer")" = '[Thumbnailer Entry]' ] || fail "thumbnailer: no [Thumbnailer Entry] group"
[ "$(sed -n 's/^MimeType=//p' "$thumbnailer")" = "$type;" ] || fail "thumbnailer: MimeType is not $type"
finish
