# Sourced by the packaging checks. Installs the build tree given as $1 into a fresh
# temporary DESTDIR with the prefix /usr, as the Debian package does, and removes it on exit.
# Sets $dest (the DESTDIR), $usr ($dest/usr) and $work (a scratch folder inside $dest);
# With checking.sh's fail() and finish().
build_dir=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest "${CMAKE_COMMAND:-cmake}" --install "$build_dir" --prefix /usr >/dev/null
usr=$dest/usr
work=$dest/work
mkdir "$work"
app_id=org.tarrow.BootScreenEditor

source "$(dirname "${BASH_SOURCE[0]}")/checking.sh"

# Width and height of a PNG, from its header.
png_size() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "not-a-png"; return; }
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
