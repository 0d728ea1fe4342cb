#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on a temporary copy of its seed corpus.
# Usage: run-fuzz.sh TARGET CORPUS SECONDS ARTIFACT_PREFIX
set -euo pipefail
target=$1 corpus=$2 seconds=$3 artifacts=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus/." "$work/"
"$target" "$work" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts" 2>&1 | grep -v '^#[0-9]'
