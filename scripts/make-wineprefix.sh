#!/usr/bin/env bash
# Makes a private Wine prefix at $1 (replacing any there) for tests and demos: no Mono or
# Gecko offers (this network cannot reach them), unmanaged windows, so that Wine does not wait
# for a window manager that Xvfb does not have, and fonts with Windows' own metrics: Wine's fonts
# (Debian installs them where the prefix does not look), the Central European "MS Sans Serif"
# that the wizard asks for (Wine registers only the one of the system's code page) and Carlito,
# metric-compatible with Calibri, in Calibri's place.
# A 32-bit prefix unless WINEARCH says win64; WINE names the loader (the 64-bit one for win64).
set -euo pipefail
prefix=${1:?usage: make-wineprefix.sh PREFIX}
export WINEPREFIX=$prefix WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=${WINE:-wine}
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
env -u DISPLAY "$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
for fonts in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine-stable/share/wine/fonts; do
    [ -f "$fonts/sserifee.fon" ] || continue
    cp "$fonts"/* "$prefix/drive_c/windows/Fonts/"
    break
done
[ -f "$prefix/drive_c/windows/Fonts/sserifee.fon" ] || echo "warning: Wine's fonts (fonts-wine) not found" >&2
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v 'MS Sans Serif 8,10,12,14,18,24 (Central European)' /t REG_SZ /d sserifee.fon /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /t REG_SZ /d Carlito /f \
    >/dev/null 2>&1
wineserver -w
echo "Wine prefix ready: $prefix"
