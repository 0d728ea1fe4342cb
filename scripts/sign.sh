#!/usr/bin/env bash
# The release step: signs a built installer with Authenticode (SHA-256).
#   scripts/sign.sh IN.exe OUT.exe
#   INSTALATOR_SIGN_PFX            PKCS#12 file holding the code-signing certificate and its key
#   INSTALATOR_SIGN_PASSWORD       its password
#   INSTALATOR_SIGN_TIMESTAMP_URL  an RFC 3161 timestamp server (optional; without a timestamp
#                                  the signature stops being valid when the certificate expires)
# OUT appears only once it is completely signed; on any failure it is left as it was.
set -euo pipefail

fail() {
    echo "sign.sh: $*" >&2
    exit 1
}

[ $# -eq 2 ] || fail "usage: scripts/sign.sh IN.exe OUT.exe"
in=$1 out=$2
pfx=${INSTALATOR_SIGN_PFX:-}
[ -n "$pfx" ] || fail "no certificate: set INSTALATOR_SIGN_PFX to a PKCS#12 file with a code-signing certificate and its key"
[ -f "$pfx" ] && [ -r "$pfx" ] || fail "cannot read the certificate file $pfx"
[ -f "$in" ] || fail "no such file: $in"
[ -d "$(dirname -- "$out")" ] || fail "no such folder: $(dirname -- "$out")"
command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (scripts/deps.sh installs it)"

# Kept out of the environment of everything started from here; osslsigncode reads it from a pipe,
# so it is on no command line.
password=${INSTALATOR_SIGN_PASSWORD:-}
unset INSTALATOR_SIGN_PASSWORD
options=(-pkcs12 "$pfx" -h sha256 -n Instalator)
[ -z "$password" ] || options+=(-readpass /dev/fd/3)
[ -z "${INSTALATOR_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$INSTALATOR_SIGN_TIMESTAMP_URL")

# Signed in a private folder beside OUT, so that the final move is a rename on one file system.
work=$(mktemp -d "$(dirname -- "$out")/.sign.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
signed=$work/$(basename -- "$out")
if ! osslsigncode sign "${options[@]}" -in "$in" -out "$signed" \
    3< <(printf '%s' "$password") >"$work/log" 2>&1; then
    cat "$work/log" >&2
    fail "signing $in failed"
fi
chmod --reference="$in" "$signed"
mv -f -- "$signed" "$out"
echo "signed: $out"
