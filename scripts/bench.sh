#!/usr/bin/env bash
# Benchmarks, each next to a baseline measured in the same run: the executable's size and its
# start-up time to the first painted window under Wine, against a minimal Win32 window program
# from the same toolchain and against the fair floor (the same controls from the layout table with
# the same manifest, nothing else); the installation of the six templates, against a plain
# create-write-close loop of the same bytes and against the durable floor (write, flush, rename
# over the target, per file); the longest time the wizard's window leaves a message unanswered
# while a library takes 3 s (the slow_check test library) and while another holder keeps the set's
# journal for 4 s, against the same window sitting idle on page 1. Prints figures; asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}

scripts/deps.sh
# On the architecture this host runs: the shipped 32-bit exe, or elsewhere the same wizard built
# for x86-64 (scripts/host-arch.sh); the figures say which.
source scripts/host-arch.sh
if [ "$runs_32bit" = 1 ]; then
    preset=win32 exe_preset=win32-exe arch="32-bit (i686)"
    export WINE=wine WINEARCH=win32
else
    preset=win64 exe_preset=win64-exe arch="64-bit (x86-64), as $why"
    export WINE=$wine64 WINEARCH=win64
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target Instalator MinimalWindow FairFloor StartupTimer InstallBench \
    Responsiveness fixture_slow_check >/dev/null
bin=build/$preset
exe=build/$exe_preset/Instalator.exe  # from the exe's own build (target Instalator)
prefix=$PWD/build/bench/wineprefix
scripts/make-wineprefix.sh "$prefix" >/dev/null
export WINEPREFIX=$prefix WINEDEBUG=-all

size_exe=$(stat -c %s $exe)
size_min=$(stat -c %s $bin/MinimalWindow.exe)

measure() {
    local start_exe start_min start_floor install answers
    read -r start_exe start_min start_floor < <("$WINE" $bin/StartupTimer.exe "$runs" \
        "$exe" "$bin/MinimalWindow.exe" "$bin/FairFloor.exe" | tr -d '\r')
    install=$("$WINE" $bin/InstallBench.exe "$exe" 21 | tr -d '\r')
    answers=$("$WINE" $bin/Responsiveness.exe "$exe" \
        "$bin/fixtures/fixture_slow_check.dll" "$runs" | tr -d '\r')
    echo "$start_exe $start_min $start_floor $install $answers"
}
if [ -n "${DISPLAY:-}" ]; then
    read -r start_exe start_min start_floor inst_wizard inst_plain inst_durable \
        idle_gap library_gap set_gap < <(measure)
else
    # xvfb-run is a POSIX shell script, which drops exported bash functions: pass the text.
    read -r start_exe start_min start_floor inst_wizard inst_plain inst_durable \
        idle_gap library_gap set_gap < <(xvfb-run -a -s "-screen 0 1024x768x24" \
            bash -c "bin=$bin exe=$exe runs=$runs; $(declare -f measure); measure")
fi
wineserver -k 2>/dev/null || true

echo "Architecture: $arch"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
printf '%-38s %14s %14s %8s\n' "measure" "Instalator" "baseline" "ratio"
printf '%-38s %14s %14s %8s\n' "executable size (bytes)" "$size_exe" "$size_min" "$(ratio "$size_exe" "$size_min")"
printf '%-38s %14s %14s %8s\n' "start-up to painted window (ms, median of $runs)" "$start_exe" "$start_min" "$(ratio "$start_exe" "$start_min")"
printf '%-38s %14s %14s %8s\n' "  the same, against the fair floor" "$start_exe" "$start_floor" "$(ratio "$start_exe" "$start_floor")"
printf '%-38s %14s %14s %8s\n' "six templates installed (ms, median of 21)" "$inst_wizard" "$inst_plain" "$(ratio "$inst_wizard" "$inst_plain")"
printf '%-38s %14s %14s %8s\n' "  the same, against the durable floor" "$inst_wizard" "$inst_durable" "$(ratio "$inst_wizard" "$inst_durable")"
printf '%-38s %14s %14s %8s\n' "unanswered, 3 s library (ms, worst of $runs)" "$library_gap" "$idle_gap" "$(ratio "$library_gap" "$idle_gap")"
printf '%-38s %14s %14s %8s\n' "unanswered, 4 s held set (ms, worst of $runs)" "$set_gap" "$idle_gap" "$(ratio "$set_gap" "$idle_gap")"
echo "Baselines: MinimalWindow.exe (same toolchain and flags); FairFloor.exe (the layout table's"
echo "windows with the installer's manifest, nothing else); a plain CreateFile/WriteFile/CloseHandle"
echo "loop; the durable floor: per file CreateFile/WriteFile/FlushFileBuffers/CloseHandle, then"
echo "MoveFileExW over the target; for the window's answers, the same window idle on page 1 for 3 s"
echo "(WM_NULL sent every 25 ms; Windows calls a window not responding after 5000 ms)."
