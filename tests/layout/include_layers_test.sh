#!/usr/bin/env bash
# Folders are layers: a source file may include headers of its own folder and of the
# folders below it, never of one above. Prints every include that runs upwards.
set -u
cd "$(dirname "$0")/../.."

# Bottom to top.
layers=(conversion platform skin/common skin/registry skin/images skin/painting skin/engine
        controls file_dialog demos cli main_window)

rank() {  # rank FOLDER-OF-A-PATH: index of the deepest layer that holds it, or -1
    local path=$1 i best=-1
    for i in "${!layers[@]}"; do
        [[ $path == "${layers[$i]}"/* ]] && best=$i
    done
    echo "$best"
}

upward=0
while IFS= read -r -d '' file; do
    own=$(rank "$file")
    ((own < 0)) && continue
    while IFS= read -r target; do
        other=$(rank "$target")
        if ((other > own)); then
            echo "$file includes $target, a layer above it"
            upward=1
        fi
    done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
done < <(find "${layers[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0 2>/dev/null)
exit $upward
