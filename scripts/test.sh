#!/usr/bin/env bash
# Every test, from scratch: installs what is missing, builds the presets anew, runs the native
# unit tests (under ASan and UBSan), the Windows tests (unit, platform and end-to-end) under Wine
# in Xvfb, the fuzz targets for a bounded time, and clang-tidy over the product code.
#
# The Windows tests run for each architecture this host can run: the shipped 32-bit exe's suite
# where 32-bit programs run, and always the same sources built for x86-64 under 64-bit Wine
# (scripts/host-arch.sh decides and the run says so in one line; INSTALATOR_ONLY_64BIT=1 tries the
# 64-bit path alone on any host). The shipped exe is built and its header, size and imports
# checked on every host, and it is built twice to check that the build is reproducible.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh || { echo "dependency installation failed"; exit 1; }
source scripts/host-arch.sh

if [ "$runs_32bit" = 1 ]; then
    suites=(win32 win64)
    echo "== Windows tests: the 32-bit and the 64-bit suites ($why)"
else
    suites=(win64)
    echo "== Windows tests: the 64-bit suite alone ($why); the shipped 32-bit exe is still" \
         "built, and its header checked"
fi

status=0
build_failures=0
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

build() {  # build PRESET [BINARY_DIR]: configures and builds a preset anew
    local preset=$1 dir=${2:-build/$1}
    echo "== $preset: configure and build${2:+ in $2}"
    # From scratch: nothing of an earlier build may stand in for a failed one.
    WINEPREFIX="$PWD/$dir/wineprefix" wineserver -k 2>/dev/null || true
    rm -rf "$dir"
    local make=(cmake --build --preset "$preset")
    [ -z "${2:-}" ] || make=(cmake --build "$dir" --target Instalator)
    if ! { cmake --preset "$preset" ${2:+-B "$2"} >/dev/null && "${make[@]}"; } \
        >"$logs/$preset-build.log" 2>&1; then
        tail -n 60 "$logs/$preset-build.log"
        echo "== $preset: build failed"
        build_failures=$((build_failures + 1))
        status=1
        return 1
    fi
}

# The exe presets first: the Windows test trees use their Instalator.exe. The 32-bit test tree is
# built only where it runs.
for preset in win32-exe win64-exe native "${suites[@]}" fuzz; do
    build "$preset"
done

# Reproducible: a second build of the shipped exe in another folder gives the same bytes.
rp=0 rf=0
if build win32-exe build/win32-exe-again &&
   cmp build/win32-exe/Instalator.exe build/win32-exe-again/Instalator.exe; then
    rp=1
    echo "== the shipped exe is reproducible ($(stat -c %s build/win32-exe/Instalator.exe) bytes)"
else
    rf=1
    echo "== the shipped exe is not reproducible"
fi
rm -rf build/win32-exe-again

# Each gtest program writes its results here too, so that checks skipped inside a passing
# program (those that mean something on one architecture only) are counted with their reasons.
export GTEST_OUTPUT="xml:Z:$logs/gtest/"

echo "== native: tests"
GTEST_OUTPUT="xml:$logs/gtest/" ctest --preset native 2>&1 | tee "$logs/native.log" || status=1

for suite in "${suites[@]}"; do
    echo "== $suite: tests under Wine"
    # Wine windows need an X display; Xvfb gives every run its own.
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$suite" 2>&1 | tee "$logs/$suite.log" ||
        status=1
    WINEPREFIX="$PWD/build/$suite/wineprefix" wineserver -k 2>/dev/null || true
done
unset GTEST_OUTPUT

started=$SECONDS
echo "== fuzz: each target for a bounded time"
ctest --preset fuzz 2>&1 | tee "$logs/fuzz.log" || status=1
echo "== fuzz: $((SECONDS - started)) s"

# Each tree's clang-tidy run counts as one test. The 64-bit tree is built on every host and holds
# the same product sources as the 32-bit one but for its two assembly files, so it stands for both.
tp=0 tf=0
for preset in native win64; do
    started=$SECONDS
    echo "== $preset: clang-tidy"
    if scripts/tidy.sh "build/$preset"; then tp=$((tp + 1)); else tf=$((tf + 1)); fi
    echo "== $preset: clang-tidy, $((SECONDS - started)) s"
done

summary() {  # "passed failed skipped" from a ctest log; skipped tests do not count as passed
    local line failed total skipped
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
    [ -n "$line" ] || { echo "0 1 0"; return; }
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    skipped=$(grep -c '(Skipped)$' "$1")
    echo "$((total - failed - skipped)) $failed $skipped"
}

# The checks skipped inside passing gtest programs, each with its reason.
gtest_skipped=$(python3 - "$logs/gtest" <<'PY'
import glob, os, sys, xml.etree.ElementTree as ET
count = 0
for path in sorted(glob.glob(sys.argv[1] + "/*.xml")):
    program = os.path.basename(path)[:-4]
    for case in ET.parse(path).iter("testcase"):
        skipped = case.find("skipped")
        if skipped is None:
            continue
        count += 1
        reason = (skipped.get("message") or "").strip().splitlines()[-1:] or [""]
        print(f"skipped: {program}: {case.get('classname')}.{case.get('name')}: {reason[0]}",
              file=sys.stderr)
print(count)
PY
)

passed=$((rp + tp)) failed=$((rf + tf + build_failures)) skipped=$gtest_skipped
line=""
for part in native "${suites[@]}" fuzz; do
    read -r p f s < <(summary "$logs/$part.log")
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
    line+=" $part $p passed, $f failed, $s skipped;"
done
line=${line# }
[ $failed -eq 0 ] || status=1
echo "$line clang-tidy $tp passed, $tf failed; reproducible build $rp passed, $rf failed;" \
     "builds failed: $build_failures"
echo "total: $passed passed, $failed failed, $skipped skipped"
exit $status
