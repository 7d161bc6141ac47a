#!/usr/bin/env bash
# Installs whatever the build needs and the machine lacks (Debian 12, Ubuntu 22.04 or newer).
# Does nothing when everything is there. Uses sudo when not run as root.
#   scripts/install-deps.sh            build and test dependencies
#   scripts/install-deps.sh --x11      also an X server and ImageMagick (screenshots)
#   scripts/install-deps.sh --bench    also ImageMagick, which the tbs benchmark runs beside tbs
#   scripts/install-deps.sh --package  also what builds the Debian package and validates the
#                                      installed files (lintian, desktop-file-validate, ...)
#   scripts/install-deps.sh --web      only what builds the browser studio (Emscripten, Node.js)
#   scripts/install-deps.sh --browser  only Chromium, which the studio's browser tests drive
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core doctest-dev
    qt6-image-formats-plugins libqt6svg6)
# The studio's builds need none of Qt: they start from an empty list.
case " $* " in *" --web "* | *" --browser "*) packages=() ;; esac
for arg in "$@"; do
    case "$arg" in
    --web)
        packages+=(cmake ninja-build emscripten)
        # A node of its own (nvm, a tarball) does as well as Debian's.
        command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
        ;;
    --browser) packages+=(chromium) ;;
    --x11) packages+=(xvfb imagemagick x11-utils xdotool) ;;
    --fuzz) packages+=(clang) ;;
    --bench) packages+=(imagemagick) ;;
    --package)
        packages+=(dpkg-dev file lintian desktop-file-utils appstream libxml2-utils man-db
            groff-base shared-mime-info bash-completion python3) ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    # The status is taken whole before it is tested: grep -q on a pipe may leave dpkg-query to
    # die of SIGPIPE, which pipefail reports as a failure.
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) || status=
    if [[ $status != *'install ok installed'* ]]; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "install-deps: missing ${missing[*]}, and this is not a Debian or Ubuntu system." >&2
    echo "Install Qt 6 (6.2 or newer, Core/Gui/Widgets/Test), CMake and a C++17 compiler." >&2
    exit 1
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
