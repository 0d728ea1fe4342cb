# Sourced by the scripts that run Windows programs: decides whether this host runs 32-bit Windows
# programs, by starting Wine's 32-bit loader and looking at the result. Hosts whose kernel runs no
# 32-bit code (32-bit emulation off, arm64 builders) cannot, nor can hosts without 32-bit Wine;
# there the same sources built for x86-64 run under 64-bit Wine instead. INSTALATOR_ONLY_64BIT=1
# makes any host behave as one that cannot, so that path can be tried anywhere.
#
# Sets: runs_32bit (1 or 0), why (a phrase for the one line that says which path runs),
# wine64 (the 64-bit loader: /usr/bin/wine picks the 32-bit one whenever it is installed).
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wine32_loader=/usr/lib/wine/wine
if [ "${INSTALATOR_ONLY_64BIT:-0}" = 1 ]; then
    runs_32bit=0 why="INSTALATOR_ONLY_64BIT=1 is set"
elif [ ! -x "$wine32_loader" ]; then
    runs_32bit=0 why="32-bit Wine is not installed"
elif ! loader_error=$("$wine32_loader" --version 2>&1 >/dev/null); then
    runs_32bit=0 why="this kernel cannot run 32-bit programs (${loader_error##*: })"
else
    runs_32bit=1 why="this host runs 32-bit programs"
fi
