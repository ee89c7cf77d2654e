#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; only what is missing.
set -euo pipefail

BUILD_PACKAGES="g++ cmake make pkg-config libsdl2-dev libgl-dev libpng-dev libvorbis-dev libgtest-dev libbenchmark-dev dpkg-dev file git xz-utils"
RUN_PACKAGES="libgl1-mesa-dri libglx-mesa0 libegl-mesa0 libopenal1 xvfb xauth xdotool imagemagick desktop-file-utils appstream lintian evilwm vorbis-tools"

missing=()
for p in $BUILD_PACKAGES $RUN_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "deps: every needed Debian package is installed"
    exit 0
fi

echo "deps: missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "deps: not running as root; install them with:" >&2
    echo "    sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; refresh them only when a package cannot be found.
if ! apt-get install -y --no-install-recommends "${missing[@]}"; then
    echo "deps: refreshing the package lists (apt-get update)"
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
echo "deps: installed ${missing[*]}"
