#!/usr/bin/env bash
# The wizard against a sample installation of the host program, in a private Wine prefix.
# On $DISPLAY the wizard is yours to click; without a display (or with --headless) it runs in
# Xvfb, is walked through its three pages and a screenshot of each page is saved.
# The shipped 32-bit exe where this host runs 32-bit programs; elsewhere the same wizard built for
# x86-64, with a 64-bit sample library, under 64-bit Wine (scripts/host-arch.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -n "${DISPLAY:-}" ] || headless=1

scripts/deps.sh
source scripts/host-arch.sh
if [ "$runs_32bit" = 1 ]; then
    preset=win32 exe_preset=win32-exe
    export WINE=wine WINEARCH=win32
    echo "Architecture:          32-bit, the shipped exe ($why)"
else
    preset=win64 exe_preset=win64-exe
    export WINE=$wine64 WINEARCH=win64
    echo "Architecture:          64-bit, the same wizard built for x86-64 ($why)"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target Instalator fixtures WizardStep >/dev/null
bin=$root/build/$preset
exe=$root/build/$exe_preset/Instalator.exe  # from the exe's own build (target Instalator)
demo=$root/build/demo
export WINEPREFIX=$demo/wineprefix WINEDEBUG=-all
scripts/make-wineprefix.sh "$WINEPREFIX" >/dev/null

# The sample installation: C:\Tesmaren with the sample component library (network edition) and
# an empty templates folder, registered for the current user as the host program registers it.
host=$WINEPREFIX/drive_c/Tesmaren
mkdir -p "$host/SZABLONY"
cp "$bin/fixtures/fixture_network.dll" "$host/KORDALIN.dll"
"$WINE" reg add 'HKCU\KvTesmaren' /v Lokalizacja /t REG_SZ /d 'C:\Tesmaren' /f >/dev/null
cp "$exe" "$demo/Instalator.exe"
# Wine's session binds to the display of its first window; the wizard gets a session of its own.
wineserver -k 2>/dev/null || true

echo "Wine prefix:           $WINEPREFIX"
echo "Sample host program:   C:\\Tesmaren = $host"
echo "Registry:              HKCU\\KvTesmaren  Lokalizacja = C:\\Tesmaren"
echo "Installer:             $demo/Instalator.exe"

if [ $headless -eq 0 ]; then
    "$WINE" "$demo/Instalator.exe"
else
    shots=$demo/screenshots
    mkdir -p "$shots"
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/demo-walk.sh "$bin" "$demo/Instalator.exe" "$shots"
    # The search page again, on a screen set to 144 DPI (150 %), as many lab PCs are.
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
    wineserver -k 2>/dev/null || true
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/demo-walk.sh "$bin" "$demo/Instalator.exe" \
        "$shots" search-only 144dpi
    "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null
fi
wineserver -k 2>/dev/null || true

echo "Templates in C:\\Tesmaren\\SZABLONY:"
ls -l "$host/SZABLONY"
