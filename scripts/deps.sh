#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: the host and MinGW-w64 compilers, CMake,
# Ninja, GoogleTest sources, 32-bit Wine with Wine's own fonts and Carlito (Calibri's metrics), Xvfb,
# and osslsigncode with openssl for signing releases.
# Skips apt entirely when all are present.
set -euo pipefail

packages=(cmake ninja-build g++ googletest
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          wine wine32:i386 fonts-wine fonts-crosextra-carlito xvfb xauth imagemagick util-linux
          osslsigncode openssl)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
