#!/usr/bin/env bash
# Walks the running wizard for scripts/run.sh, saving screenshots. Needs an X display, WINEPREFIX,
# WINE (the loader for the build's architecture) and: $1 the build folder, $2 the installer, $3
# the screenshot folder; with $4 = search-only it goes only as far as the search page, shoots it as
# page2-search-$5 and cancels. Widgets are named as in the layout table.
set -euo pipefail
bin=$1 exe=$2 shots=$3 mode=${4:-full} suffix=${5:-}
step() { "$WINE" "$bin/WizardStep.exe" "$@"; }
shot() {
    sleep 0.5
    # The window alone, cut out of the screen's black background.
    import -window root png:- | convert - -trim +repage "$shots/$1.png"
    echo "Screenshot:            $shots/$1.png"
}
"$WINE" "$exe" &
step wait-visible TabSheet1
if [ "$mode" = search-only ]; then
    step click BitBtn2 && step wait-visible TabSheet2 # "Dalej >>"
    shot "page2-search-$suffix"
    step click BitBtn3 && step wait-gone               # "Anuluj"
else
    shot page1-introduction
    step click BitBtn2 && step wait-visible TabSheet2 # "Dalej >>"
    shot page2-search
    step click BitBtn2 && step wait-disabled BitBtn3  # "Dalej >>" installs; "Anuluj" disabled after
    shot page3-installed
    step click BitBtn4 && step wait-gone               # "Zamknij."
fi
wait
# Wine's own processes (the desktop among them) stay connected to the display for a moment after
# the wizard; the session ends before xvfb-run takes the display away, or each of them reports
# the broken connection.
wineserver -w
