#!/usr/bin/env bash
# Walks the running wizard through its three pages for scripts/run.sh, saving a screenshot of each
# page. Needs an X display, WINEPREFIX, and: $1 the build folder, $2 the installer, $3 the
# screenshot folder. Widgets are found by control ID: 1000 + their number in the widget list.
set -euo pipefail
bin=$1 exe=$2 shots=$3
step() { wine "$bin/WizardStep.exe" "$@"; }
shot() {
    sleep 0.5
    import -window root "$shots/$1.png"
    echo "Screenshot:            $shots/$1.png"
}
wine "$exe" &
step wait-visible 1013 && shot page1-introduction  # TabSheet1
step click 1026 && step wait-visible 1015            # "Dalej >>", then TabSheet2
shot page2-search
step click 1026 && step wait-disabled 1024           # "Dalej >>" installs; "Anuluj" disabled after
shot page3-installed
step click 1022 && step wait-gone                    # "Zamknij."
wait
