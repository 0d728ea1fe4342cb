#!/usr/bin/env bash
# Every test, from scratch: installs what is missing, builds the presets anew, runs the native
# unit tests (under ASan and UBSan), the Windows tests (unit, platform and end-to-end) under Wine
# in Xvfb, the fuzz targets for a bounded time, and clang-tidy over both presets' product code.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh || { echo "dependency installation failed"; exit 1; }

summary() {  # "passed failed" from a ctest log
    local line
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
    [ -n "$line" ] || { echo "0 1"; return; }
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    echo "$((total - failed)) $failed"
}

status=0
build_failures=0
logs=$(mktemp -d)
# win32-exe first: the win32 preset's tests use its Instalator.exe.
for preset in win32-exe native win32 fuzz; do
    echo "== $preset: configure and build"
    # From scratch: nothing of an earlier build may stand in for a failed one.
    WINEPREFIX="$PWD/build/$preset/wineprefix" wineserver -k 2>/dev/null || true
    rm -rf "build/$preset"
    if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; } \
        >"$logs/$preset-build.log" 2>&1; then
        tail -n 60 "$logs/$preset-build.log"
        echo "== $preset: build failed"
        build_failures=$((build_failures + 1))
        status=1
    fi
done

echo "== native: tests"
ctest --preset native 2>&1 | tee "$logs/native.log" || status=1

echo "== win32: tests under Wine"
# Wine windows need an X display; Xvfb gives every run its own.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win32 2>&1 | tee "$logs/win32.log" || status=1
WINEPREFIX="$PWD/build/win32/wineprefix" wineserver -k 2>/dev/null || true

started=$SECONDS
echo "== fuzz: each target for a bounded time"
ctest --preset fuzz 2>&1 | tee "$logs/fuzz.log" || status=1
echo "== fuzz: $((SECONDS - started)) s"

# Each tree's clang-tidy run counts as one test.
tp=0 tf=0
for preset in native win32; do
    started=$SECONDS
    echo "== $preset: clang-tidy"
    if scripts/tidy.sh "build/$preset"; then tp=$((tp + 1)); else tf=$((tf + 1)); fi
    echo "== $preset: clang-tidy, $((SECONDS - started)) s"
done

read -r np nf < <(summary "$logs/native.log")
read -r wp wf < <(summary "$logs/win32.log")
read -r fp ff < <(summary "$logs/fuzz.log")
failed=$((nf + wf + ff + tf + build_failures))
[ $failed -eq 0 ] || status=1
echo "native: $np passed, $nf failed; win32: $wp passed, $wf failed; fuzz: $fp passed, $ff failed;" \
     "clang-tidy: $tp passed, $tf failed; builds failed: $build_failures"
echo "total: $((np + wp + fp + tp)) passed, $failed failed"
exit $status
