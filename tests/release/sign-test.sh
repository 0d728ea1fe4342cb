#!/usr/bin/env bash
# Signs a copy of the built installer with a throwaway code-signing certificate and checks the
# result: the signature verifies against that certificate and breaks when one signed byte
# changes, the signed wizard still starts on its first page and carries its six payloads, the
# password shows up nowhere, and a refused signing leaves nothing behind.
# Needs WINEPREFIX and an X display.
#   sign-test.sh SIGN.sh Instalator.exe e2e_tests.exe win32_resources_test.exe
set -uo pipefail
sign=$1 exe=$2 e2e=$3 resources=$4
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
failures=0
check() {  # check WHAT COMMAND...: the command must succeed (its output is not needed)
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
fails() { ! "$@"; }
gtest_passed() {  # gtest_passed LOG: at least one test ran, and all passed
    grep -qE '^\[  PASSED  \] [1-9][0-9]* tests?\.' "$1" && ! grep -q '^\[  FAILED  \]' "$1"
}

# The certificate, its key and a password-protected PKCS#12 file (openssl reads the password from
# the environment, not from its command line).
password="test pass;$RANDOM$RANDOM$RANDOM"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Instalator test signer" \
    -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
    PFX_PASSWORD=$password openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" \
        -out "$work/signer.pfx" -passout env:PFX_PASSWORD ||
    { echo "FAILED: cannot make the test certificate"; exit 1; }

# osslsigncode behind a shim that records its command line and environment, where ps would see
# the password.
real=$(command -v osslsigncode) || { echo "FAILED: osslsigncode is not installed"; exit 1; }
mkdir "$work/bin"
cat >"$work/bin/osslsigncode" <<EOF
#!/bin/sh
{ printf '%s\n' "\$*"; env; } >>"$work/seen"
exec "$real" "\$@"
EOF
chmod +x "$work/bin/osslsigncode"

before=$(sha256sum <"$exe")
mkdir "$work/out"
signed=$work/out/Instalator.exe
if ! INSTALATOR_SIGN_PFX=$work/signer.pfx INSTALATOR_SIGN_PASSWORD=$password \
    PATH="$work/bin:$PATH" bash "$sign" "$exe" "$signed" >"$work/sign.log" 2>&1; then
    cat "$work/sign.log"
    echo "FAILED: signing"
    exit 1
fi
check "the built installer is left unchanged" [ "$(sha256sum <"$exe")" = "$before" ]
check "the built installer itself is unsigned" fails osslsigncode verify -in "$exe"
check "only the signed file is written" [ "$(ls -A "$work/out")" = Instalator.exe ]

osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1
check "the signature verifies against the certificate" [ $? -eq 0 ]
check "a SHA-256 digest" grep -q "Message digest algorithm *: SHA256" "$work/verify.log"
check "the program name in the signature" grep -q "Text description: Instalator$" "$work/verify.log"

INSTALATOR_EXE=$signed "${WINE:-wine}" "$e2e" --gtest_filter='StartState.*' >"$work/start.log" 2>&1
check "the signed wizard starts on its first page" gtest_passed "$work/start.log"
INSTALATOR_EXE=$signed "${WINE:-wine}" "$resources" --gtest_filter='ResourcesTest.EveryPayload*' \
    >"$work/payloads.log" 2>&1
check "the signed wizard carries its six payloads" gtest_passed "$work/payloads.log"

# A byte in the middle of the unsigned image is hashed content, not the appended signature.
offset=$(($(stat -c %s "$exe") / 2))
cp "$signed" "$work/tampered.exe"
byte=$(od -An -tu1 -j "$offset" -N1 "$signed" | tr -d ' ')
printf "\\$(printf '%03o' $(((byte + 1) % 256)))" |
    dd of="$work/tampered.exe" bs=1 seek="$offset" conv=notrunc status=none
check "the tampered copy differs in one byte" [ "$(cmp -l "$signed" "$work/tampered.exe" | wc -l)" -eq 1 ]
check "one changed byte breaks the signature" \
    fails osslsigncode verify -CAfile "$work/cert.pem" -in "$work/tampered.exe"

# Refused signings: each exits non-zero and leaves nothing in OUT's folder.
mkdir "$work/refused"
while IFS='|' read -r what pfx pass; do
    env -u INSTALATOR_SIGN_PFX -u INSTALATOR_SIGN_PASSWORD \
        ${pfx:+INSTALATOR_SIGN_PFX="$pfx"} ${pass:+INSTALATOR_SIGN_PASSWORD="$pass"} \
        bash "$sign" "$exe" "$work/refused/Instalator.exe" >"$work/refused.log" 2>&1
    check "$what: refused" [ $? -ne 0 ]
    check "$what: nothing written" [ -z "$(ls -A "$work/refused")" ]
    cat "$work/refused.log" >>"$work/sign.log"
    [ -n "$pfx" ] || check "$what: one line says why" [ "$(wc -l <"$work/refused.log")" -eq 1 ]
done <<EOF
no certificate||
a certificate file that is not there|$work/missing.pfx|$password
a wrong password|$work/signer.pfx|wrong $password
EOF

check "osslsigncode ran behind the shim" grep -q -- "-pkcs12" "$work/seen"
check "the password is in no output, command line or environment" \
    fails grep -qF -- "$password" "$work/sign.log" "$work/seen"

[ $failures -eq 0 ] || { cat "$work/verify.log" "$work/start.log" "$work/payloads.log"; exit 1; }
