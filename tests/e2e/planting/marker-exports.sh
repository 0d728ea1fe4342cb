#!/usr/bin/env bash
# marker-exports.sh OBJDUMP REAL.dll NAME > NAME.def: a module definition that gives the marker
# every export of the real DLL, by name and by ordinal, all bound to its one stub. Without a real
# DLL to copy from, the marker exports nothing (enough for a DLL that is only loaded by name).
set -euo pipefail
objdump=$1 real=$2 name=$3
echo "LIBRARY \"$name\""
echo "EXPORTS"
[ -f "$real" ] || exit 0
"$objdump" -p "$real" | awk '
  /^Export Address Table -- Ordinal Base/ { base = $NF; table = "address"; next }
  /^\[Ordinal\/Name Pointer\] Table/ { table = "names"; next }
  /^$/ { table = "" }
  table == "address" && /\+base\[/ {
    match($0, /\+base\[ *[0-9]+\]/); used[substr($0, RSTART + 6, RLENGTH - 7) + 0] = 1 }
  table == "names" && /^\t\[/ {
    match($0, /\[ *[0-9]+\]/); named[substr($0, RSTART + 1, RLENGTH - 2) + base] = $NF }
  END {
    for (o in used)
      if (o in named) printf "  %s=Stub @%d\n", named[o], o
      else printf "  Ordinal%d=Stub @%d NONAME\n", o, o
  }'
