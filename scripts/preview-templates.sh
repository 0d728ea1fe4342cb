#!/bin/sh
# Renders the six template fragments, assembled as the main program does, into
# docs/templates-preview.png so the results table can be looked at without the main program.
# Needs libreoffice-writer-nogui and poppler-utils.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$root/scripts/templates/assemble-preview.py" "$root/install/payloads" "$work/preview.rtf"
# A private profile, so a desktop LibreOffice that is already running is not disturbed.
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf \
    --outdir "$work" "$work/preview.rtf" >/dev/null
pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$work/preview.pdf" "$work/preview"
mkdir -p "$root/docs"
cp "$work/preview.png" "$root/docs/templates-preview.png"
echo "$root/docs/templates-preview.png"
