#!/usr/bin/env bash
# Walks the running wizard through its three pages for scripts/run.sh, saving a screenshot of each
# page. Needs an X display, WINEPREFIX, and: $1 the build folder, $2 the installer, $3 the
# screenshot folder. Widgets are named as in the layout table.
set -euo pipefail
bin=$1 exe=$2 shots=$3
step() { wine "$bin/WizardStep.exe" "$@"; }
shot() {
    sleep 0.5
    import -window root "$shots/$1.png"
    echo "Screenshot:            $shots/$1.png"
}
wine "$exe" &
step wait-visible TabSheet1 && shot page1-introduction
step click BitBtn2 && step wait-visible TabSheet2     # "Dalej >>"
shot page2-search
step click BitBtn2 && step wait-disabled BitBtn3      # "Dalej >>" installs; "Anuluj" disabled after
shot page3-installed
step click BitBtn4 && step wait-gone                  # "Zamknij."
wait
