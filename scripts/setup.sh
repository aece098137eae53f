#!/usr/bin/env bash
# Prepares a Debian 12 machine for Zidevavi and builds it. Safe to run again:
# packages are installed only when missing, and the build is incremental.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build"

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-translations-l10n
    libqt6sql6-sqlite             # reading the Evolution and Thunderbird address books
    libqt6network6 openssl ca-certificates  # CardDAV servers over https
    radicale curl                 # the CardDAV tests' server; bench_carddav compares with curl
    libgl-dev
    clang libclang-rt-14-dev      # the reader's fuzz test
    libpugixml-dev                # bench_documentfiles compares with it
    xvfb xauth                    # a display for the program where there is none
    desktop-file-utils appstream  # checks of the installed menu entry and metadata
    dpkg-dev file lintian         # the Debian package: its dependencies, and its check
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
