#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: the host and MinGW-w64 compilers for i686
# and x86-64 (the win32 thread model for the exes, the posix one for the tests), CMake, Ninja,
# GoogleTest sources, 64-bit Wine and, where the archive has it, 32-bit Wine (hosts that cannot
# run 32-bit programs test the x86-64 build), with Wine's own fonts and Carlito (Calibri's metrics), Xvfb,
# osslsigncode with openssl for signing releases, and clang with libFuzzer and the sanitizers'
# run-time and clang-tidy for the fuzz and static-analysis steps.
# Skips apt entirely when all are present.
#
# The package archive is sometimes caught mid-sync: an index that does not match its Release file
# fails `apt-get update`, and with the security index for i386 missing, wine32:i386 cannot match
# the amd64 libraries' security versions. So a failed update is retried and then only warned
# about, and a failed install is tried once more from the release's own suite.
set -euo pipefail

packages=(cmake ninja-build g++ googletest
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          mingw-w64-x86-64-dev g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
          wine wine64 wine32:i386 fonts-wine fonts-crosextra-carlito xvfb xauth imagemagick util-linux
          osslsigncode openssl clang-14 libclang-rt-14-dev clang-tidy-14)
update_attempts=${DEPS_UPDATE_ATTEMPTS:-3}
retry_pause=${DEPS_RETRY_PAUSE:-10}
os_release=${DEPS_OS_RELEASE:-/etc/os-release}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

first_error() {  # apt's first "E:" line (the cause; later ones sum up), or its last line
    grep -m 1 '^E:' "$log" || tail -n 1 "$log"
}

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

for ((attempt = 1; ; attempt++)); do
    $sudo apt-get update -qq >"$log" 2>&1 && break
    if ((attempt >= update_attempts)); then
        echo "warning: apt-get update still failed after $attempt attempts ($(first_error));" \
             "going on with the package lists apt has"
        break
    fi
    sleep "$retry_pause"
done

# 32-bit Wine only where the archive has it for this machine (not on arm64, say): the 64-bit
# suite needs none of it.
if ! apt-cache policy wine32:i386 2>/dev/null | grep -q 'Candidate: [0-9]'; then
    for i in "${!missing[@]}"; do [ "${missing[$i]}" != wine32:i386 ] || unset 'missing[i]'; done
    echo "warning: the package archive has no wine32:i386 here; only the 64-bit tests can run"
    [ ${#missing[@]} -eq 0 ] && exit 0
fi

install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" \
        "${missing[@]}" >"$log" 2>&1
}
install && exit 0

codename=$(. "$os_release" 2>/dev/null && echo "${VERSION_CODENAME:-}") || codename=""
if [ -n "$codename" ]; then
    echo "warning: installing failed ($(first_error)); trying again from the release's own suite" \
         "($codename), as a package archive caught mid-sync needs"
    install -t "$codename" && exit 0
fi
grep '^E:' "$log" | tail -n 5 || tail -n 5 "$log"
echo "Could not install the packages above; run this again later (the package archive may be" \
     "syncing), or install them by hand with apt-get."
exit 1
