#!/usr/bin/env bash
# Makes a private 32-bit Wine prefix at $1 (replacing any there) for tests and demos: no Mono or
# Gecko offers (this network cannot reach them) and unmanaged windows, so that Wine does not wait
# for a window manager that Xvfb does not have.
set -euo pipefail
prefix=${1:?usage: make-wineprefix.sh PREFIX}
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
env -u DISPLAY wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
echo "Wine prefix ready: $prefix"
