#!/usr/bin/env bash
# Installs what building, running and testing Zorvi need, when it is missing.
set -euo pipefail

packages=(cmake make g++ ccache clang-format pkg-config qt6-base-dev qt6-charts-dev
          libqt6opengl6-dev libgl-dev libxcb1-dev
          libxcb-randr0-dev libsodium-dev libarchive-dev zstd libgtest-dev libgmock-dev
          fonts-liberation fonts-dejavu-core syncthing)
case "${1:-}" in
--with-xvfb) packages+=(xvfb xauth) ;;
--with-wm) packages+=(xvfb xauth openbox xdotool x11-utils imagemagick clang-tidy gcovr
                       cups-daemon cups-client) ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "These Debian packages are missing: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}), then run this again." >&2
            exit 1
        fi
        SUDO="sudo"
    fi
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
