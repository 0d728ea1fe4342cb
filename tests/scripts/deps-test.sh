#!/usr/bin/env bash
# scripts/deps.sh's decisions, with stand-in package tools first on PATH (the machine's packages are
# never touched): apt-get's update fails FAKE_UPDATE_FAILS times, its install succeeds only in the
# modes listed in FAKE_INSTALL_OK (plain, t); every call is recorded.
set -uo pipefail
w=$(mktemp -d)
trap 'rm -rf "$w"' EXIT
mkdir "$w/bin"
printf '#!/bin/sh\n[ "$FAKE_INSTALLED" = all ] && printf "install ok installed"; exit 0\n' >"$w/bin/dpkg-query"
printf '#!/bin/sh\necho "dpkg $*" >>"$FAKE_LOG"\n' >"$w/bin/dpkg"
printf '#!/bin/sh\nexec "$@"\n' >"$w/bin/sudo"
printf '#!/bin/sh\necho "  Candidate: $FAKE_WINE32"\n' >"$w/bin/apt-cache"
cat >"$w/bin/apt-get" <<'SH'
#!/bin/sh
echo "apt-get $*" >>"$FAKE_LOG"
if [ "$1" = update ]; then
    [ "$(grep -c '^apt-get update' "$FAKE_LOG")" -gt "$FAKE_UPDATE_FAILS" ] && exit 0
    echo "E: Failed to fetch Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    exit 100
fi
mode=plain; case " $* " in *" -t bookworm "*) mode=t ;; esac
case " $FAKE_INSTALL_OK " in *" $mode "*) exit 0 ;; esac
echo "E: Unable to correct problems, you have held broken packages."; exit 100
SH
chmod +x "$w/bin/"*
printf 'ID=debian\nVERSION_CODENAME=bookworm\n' >"$w/os-release"
calls() { grep -c "^apt-get $1" "$w/log"; }

passed=0 failed=0
# name | installed | update failures | installs that succeed | wine32:i386 in the archive |
# exit status | what must hold
while IFS='|' read -r name installed update_fails install_ok wine32 want_rc expect; do
    : >"$w/log"
    FAKE_LOG="$w/log" FAKE_INSTALLED=$installed FAKE_UPDATE_FAILS=$update_fails FAKE_INSTALL_OK=$install_ok FAKE_WINE32=$wine32 \
        DEPS_RETRY_PAUSE=0 DEPS_OS_RELEASE="$w/os-release" PATH="$w/bin:$PATH" bash "$1" >"$w/out" 2>&1
    rc=$?
    if [ $rc -eq "$want_rc" ] && eval "$expect"; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        printf 'FAIL %s (exit %s): %s\n--- output:\n%s\n--- calls:\n%s\n' "$name" $rc "$expect" "$(cat "$w/out")" "$(cat "$w/log")"
    fi
done <<'TABLE'
all present|all|0|plain|8.0|0|[ ! -s "$w/log" ] && [ ! -s "$w/out" ]
update fails, install works|none|99|plain|8.0|0|[ $(calls update) -eq 3 ] && [ $(calls install) -eq 1 ] && grep -q '^warning: apt-get update still failed after 3 attempts (E: .*Mirror sync' "$w/out"
update recovers on retry|none|1|plain|8.0|0|[ $(calls update) -eq 2 ] && ! grep -q warning "$w/out"
skew, release suite works|none|0|t|8.0|0|grep -q '^apt-get install .*-t bookworm .*wine32:i386' "$w/log" && [ $(grep -c '^warning: installing failed (E: Unable to correct problems.*bookworm' "$w/out") -eq 1 ]
everything fails|none|99|none|8.0|1|[ $(calls install) -eq 2 ] && grep -q '^E: Unable to correct problems' "$w/out" && grep -q 'run this again later' "$w/out"
no 32-bit Wine in the archive|none|0|plain|(none)|0|! grep -q 'wine32' "$w/log" && grep -q '^apt-get install .* wine64 ' "$w/log" && grep -q 'no wine32:i386' "$w/out"
TABLE
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
