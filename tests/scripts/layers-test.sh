#!/usr/bin/env bash
# The product's folders are layers, each including only its own and those below it, so no two
# include each other: app/ composes; discovery/ and install/ stand on wizard/, all three on
# window/ and platform/; window/ on platform/ alone. Lists every include that breaks this.
# Usage: layers-test.sh SOURCE_DIR
cd "${1:?usage: layers-test.sh SOURCE_DIR}" || exit 1
declare -A below=([app]="wizard discovery install window platform" [discovery]="wizard window platform"
                  [install]="wizard window platform" [wizard]="window platform" [window]=platform
                  [platform]="")
broken=$(for folder in "${!below[@]}"; do
    [ -d "$folder" ] || echo "no folder $folder/"
    grep -rnoE '^#include "[a-z_]+/' "$folder" --include='*.[ch]' --include='*.cpp' |
        awk -F'"' -v own="$folder" -v allowed=" ${below[$folder]} " '{
            sub(/\/$/, "", $2); sub(/:#include $/, "", $1)
            if ($2 != own && index(allowed, " " $2 " ") == 0) print $1 " includes " $2 "/" }'
done)
[ -z "$broken" ] && { echo "1 passed, 0 failed"; exit 0; }
echo "$broken"
echo "0 passed, 1 failed"
exit 1
