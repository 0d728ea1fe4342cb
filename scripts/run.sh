#!/usr/bin/env bash
# The wizard against a sample installation of the host program, in a private Wine prefix.
# On $DISPLAY the wizard is yours to click; without a display (or with --headless) it runs in
# Xvfb, is walked through its three pages and a screenshot of each page is saved.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -n "${DISPLAY:-}" ] || headless=1

scripts/deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Instalator fixtures WizardStep >/dev/null
bin=$root/build/win32
demo=$root/build/demo
export WINEPREFIX=$demo/wineprefix WINEDEBUG=-all
scripts/make-wineprefix.sh "$WINEPREFIX" >/dev/null

# The sample installation: C:\Tesmaren with the sample component library (network edition) and
# an empty templates folder, registered for the current user as the host program registers it.
host=$WINEPREFIX/drive_c/Tesmaren
mkdir -p "$host/SZABLONY"
cp "$bin/fixtures/fixture_network.dll" "$host/KORDALIN.dll"
wine reg add 'HKCU\KvTesmaren' /v Lokalizacja /t REG_SZ /d 'C:\Tesmaren' /f >/dev/null
cp "$bin/Instalator.exe" "$demo/Instalator.exe"

echo "Wine prefix:           $WINEPREFIX"
echo "Sample host program:   C:\\Tesmaren = $host"
echo "Registry:              HKCU\\KvTesmaren  Lokalizacja = C:\\Tesmaren"
echo "Installer:             $demo/Instalator.exe"

if [ $headless -eq 0 ]; then
    wine "$demo/Instalator.exe"
else
    shots=$demo/screenshots
    mkdir -p "$shots"
    walk() {
        set -e
        step() { wine "$bin/WizardStep.exe" "$@"; }
        shot() { sleep 0.5; import -window root "$shots/$1.png"; echo "Screenshot:            $shots/$1.png"; }
        wine "$demo/Instalator.exe" &
        step wait-visible 1013 && shot page1-introduction     # TabSheet1
        step click 1026 && step wait-visible 1015               # Next -> TabSheet2
        shot page2-search
        step click 1026 && step wait-disabled 1024              # Next -> install, Cancel disabled
        shot page3-installed
        step click 1022 && step wait-gone                       # "Zamknij."
        wait
    }
    export -f walk
    export bin demo shots
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c walk
fi
wineserver -k 2>/dev/null || true

echo "Templates in C:\\Tesmaren\\SZABLONY:"
ls -l "$host/SZABLONY"
