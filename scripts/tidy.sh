#!/usr/bin/env bash
# clang-tidy (with the repo's .clang-tidy) over the product code (app/ wizard/ discovery/ install/
# window/ platform/) of one configured build tree, from its compile database. Exits non-zero on any
# finding. Usage: scripts/tidy.sh BUILD_DIR
#
# The database names the tree's own compiler. Clang has no Windows-1250 execution character set
# (irrelevant to the analysis), so that option is dropped; for the MinGW tree clang is told the
# target and given MinGW's C++ headers, which it does not find by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tidy.sh BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$root" "$build/compile_commands.json" "$work/compile_commands.json" <<'PY'
import json, os, re, shlex, subprocess, sys
root, source, target = sys.argv[1:]
product = re.compile(re.escape(root) + r"/(app|wizard|discovery|install|platform|window)/.*\.cpp$")
headers = {}

def mingw_arguments(compiler):
    if compiler not in headers:
        probe = subprocess.run([compiler, "-xc++", "-E", "-v", "/dev/null"],
                               capture_output=True, text=True).stderr.splitlines()
        cxx = [line.strip() for line in probe if "/include/c++" in line and line.startswith(" ")]
        triple = re.sub(r"-g\+\+.*$", "", os.path.basename(compiler))
        headers[compiler] = ["--target=" + triple, "-nostdinc++"] + \
            [arg for d in cxx for arg in ("-isystem", d)]
    return headers[compiler]

entries = []
for entry in json.load(open(source)):
    if not product.match(os.path.normpath(os.path.join(entry["directory"], entry["file"]))):
        continue
    args = entry.get("arguments") or shlex.split(entry["command"])
    args = [a for a in args if not a.startswith("-fexec-charset=")]
    if "mingw32" in os.path.basename(args[0]):
        args[1:1] = mingw_arguments(args[0])
    entries.append({"directory": entry["directory"], "file": entry["file"], "arguments": args})
if not entries:
    sys.exit("no product sources in " + source)
json.dump(entries, open(target, "w"), indent=1)
PY

python3 -c 'import json, sys; print("\n".join(e["file"] for e in json.load(open(sys.argv[1]))))' \
    "$work/compile_commands.json" >"$work/files"
echo "clang-tidy: $(wc -l <"$work/files") product sources of $build"
status=0
xargs -P "$(nproc)" -n 1 clang-tidy-14 -p "$work" --quiet <"$work/files" >"$work/out" 2>&1 || status=$?
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|warnings? treated as errors$' \
    "$work/out" || true
[ "$status" -eq 0 ] && echo "clang-tidy: no findings" || echo "clang-tidy: findings above"
exit "$status"
