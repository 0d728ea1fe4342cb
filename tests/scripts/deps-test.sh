#!/usr/bin/env bash
# scripts/deps.sh's decisions, with stand-in apt-get, dpkg, dpkg-query and sudo first on PATH, so
# the machine's packages are never touched. Each stand-in records its arguments.
set -uo pipefail
deps=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/dpkg-query" <<'SH'
#!/bin/sh
[ "$FAKE_INSTALLED" = all ] && printf 'install ok installed'
exit 0
SH
cat >"$work/bin/dpkg" <<'SH'
#!/bin/sh
echo "dpkg $*" >>"$FAKE_LOG"
SH
cat >"$work/bin/sudo" <<'SH'
#!/bin/sh
exec "$@"
SH
# update fails FAKE_UPDATE_FAILS times; install fails unless its mode (plain or -t) is in FAKE_INSTALL_OK.
cat >"$work/bin/apt-get" <<'SH'
#!/bin/sh
echo "apt-get $*" >>"$FAKE_LOG"
case "$1" in
update)
    n=$(grep -c '^apt-get update' "$FAKE_LOG")
    [ "$n" -le "$FAKE_UPDATE_FAILS" ] || exit 0
    echo "E: Failed to fetch Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    exit 100 ;;
install)
    mode=plain
    case " $* " in *" -t bookworm "*) mode=t ;; esac
    case " $FAKE_INSTALL_OK " in *" $mode "*) exit 0 ;; esac
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100 ;;
esac
SH
chmod +x "$work/bin/"*
printf 'ID=debian\nVERSION_CODENAME=bookworm\n' >"$work/os-release"

passed=0 failed=0
check() {  # name, condition
    if eval "$2"; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL $1: $2"; echo "--- output:"; cat "$work/out"; echo "--- calls:"; cat "$work/log"
    fi
}
# name | installed | update failures | installs that succeed | expected exit | calls and output expected
while IFS='|' read -r name installed update_fails install_ok want_rc expect; do
    : >"$work/log"
    FAKE_LOG="$work/log" FAKE_INSTALLED=$installed FAKE_UPDATE_FAILS=$update_fails \
        FAKE_INSTALL_OK=$install_ok DEPS_RETRY_PAUSE=0 DEPS_OS_RELEASE="$work/os-release" \
        PATH="$work/bin:$PATH" bash "$deps" >"$work/out" 2>&1
    rc=$?
    check "$name: exit status" "[ $rc -eq $want_rc ]"
    check "$name" "$expect"
done <<'TABLE'
all present|all|0|plain|0|[ ! -s "$work/log" ] && [ ! -s "$work/out" ]
update fails, install works|none|99|plain|0|[ $(grep -c '^apt-get update' "$work/log") -eq 3 ] && grep -q 'warning: apt-get update still failed after 3 attempts (E: .*Mirror sync' "$work/out" && [ $(grep -c '^apt-get install' "$work/log") -eq 1 ]
update recovers on retry|none|1|plain|0|[ $(grep -c '^apt-get update' "$work/log") -eq 2 ] && ! grep -q warning "$work/out"
skew, release suite works|none|0|t|0|grep -q '^apt-get install .*-t bookworm .*wine32:i386' "$work/log" && [ $(grep -c '^warning: installing failed (E: Unable to correct problems.*bookworm' "$work/out") -eq 1 ]
everything fails|none|99|none|1|[ $(grep -c '^apt-get install' "$work/log") -eq 2 ] && grep -q '^E: Unable to correct problems' "$work/out" && grep -q 'run this again later' "$work/out"
TABLE
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
