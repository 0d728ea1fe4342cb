#!/usr/bin/env bash
# The product's folders form layers: each may include only its own folder and those below it, so
# no two include each other. app/ composes everything; the wizard (its form, the search and the
# installation) stands on the window model and the system services; window/ stands on platform/
# only; platform/ includes nothing of ours outside itself. Lists every include that breaks this.
# Usage: layers-test.sh SOURCE_DIR
set -uo pipefail
cd "${1:?usage: layers-test.sh SOURCE_DIR}"

# folder | folders it may include besides its own
allowed() {
    case $1 in
        app) echo "wizard discovery install window platform" ;;
        discovery | install) echo "wizard window platform" ;;
        wizard) echo "window platform" ;;
        window) echo "platform" ;;
        platform) echo "" ;;
    esac
}

failed=0 checked=0
for folder in app wizard discovery install window platform; do
    [ -d "$folder" ] || { echo "FAIL: no folder $folder/"; failed=$((failed + 1)); continue; }
    while IFS=: read -r file _ target; do
        checked=$((checked + 1))
        [ "$target" = "$folder" ] && continue
        case " $(allowed "$folder") " in *" $target "*) continue ;; esac
        echo "FAIL: $file includes $target/, above or beside $folder/"
        failed=$((failed + 1))
    done < <(grep -rnoE '^#include "[a-z_]+/' "$folder" --include='*.h' --include='*.cpp' \
                 --include='*.c' | sed -E 's|^([^:]+):([0-9]+):#include "([a-z_]+)/|\1:\2:\3|')
done
echo "$checked includes checked"
echo "$((failed == 0 ? 1 : 0)) passed, $((failed == 0 ? 0 : 1)) failed"
[ $failed -eq 0 ]
