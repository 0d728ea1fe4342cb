#!/usr/bin/env bash
# Runs a Wine test program as the unprivileged user "nobody", in its own prefix, so that the
# system's file permissions (read-only files among them) are enforced as on Windows. The program
# is copied to a fresh folder that nobody owns, because the build tree may lie where nobody cannot
# read (under /root on CI). Exits 77 (skipped) when the machine has no such user or no runuser.
set -euo pipefail
program=${1:?usage: run-unprivileged.sh TEST.exe MAKE-WINEPREFIX.sh [gtest arguments]}
make_prefix=${2:?usage: run-unprivileged.sh TEST.exe MAKE-WINEPREFIX.sh [gtest arguments]}
shift 2

if ! command -v runuser >/dev/null || ! id nobody >/dev/null 2>&1; then
    echo "SKIPPED: no runuser or no user 'nobody' on this machine" >&2
    exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: switching to 'nobody' needs root" >&2
    exit 77
fi

# A 64-bit program needs the 64-bit loader and prefix; the wrapper `wine` picks the 32-bit loader
# whenever it is installed, even where the kernel cannot run it.
wine=wine arch=win32
if [ "$(od -An -tx1 -j "$(($(od -An -tu4 -j 60 -N 4 "$program")))" -N 6 "$program" | tr -d ' ')" \
     = 504500006486 ]; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64) arch=win64
fi

work=$(mktemp -d /tmp/instalator-unprivileged.XXXXXX)
cleanup() {
    runuser -u nobody -- env WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$make_prefix" "$work/"
chown -R nobody "$work"
chmod 755 "$work"

as_nobody() {
    runuser -u nobody -- env -u DISPLAY -u GTEST_OUTPUT HOME="$work" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
        WINEARCH=$arch WINE="$wine" WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}
as_nobody "$work/$(basename "$make_prefix")" "$work/prefix" >/dev/null
as_nobody "$wine" "$work/$(basename "$program")" "$@"
