#!/usr/bin/env bash
# Checks that no folder includes from a folder that depends on it. The folders are listed in the
# order they build on each other; a file may include only from its own folder and the folders
# before it. An include is found where the compiler finds it: beside the including file, then
# from the project root, tools/ and tests/. Every C and C++ file git knows of (or would add)
# must lie in one of the folders, and every include must be found.
#   include_order_test.sh SOURCE_DIR
set -euo pipefail
(($# == 1)) || { echo "usage: $0 SOURCE_DIR" >&2; exit 2; }
cd "$1"

order=(
    core assets records sequencer player render headless shell
    tools/common tools/tga tools/xm tools/pack tools/glyphs tools/tune tools/art tools/xmrender
    tools/capture
    tests
)
declare -A rank
for i in "${!order[@]}"; do
    rank[${order[$i]}]=$i
done

# The folder of the order that holds a file, the deepest one; nothing when none does.
folder_of() {
    local path=$1
    while [[ $path == */* ]]; do
        path=${path%/*}
        if [[ -n ${rank[$path]+set} ]]; then
            echo "$path"
            return
        fi
    done
}

# Where the compiler finds a quoted include of a file; nothing when it does not.
found_at() {
    local includer=$1 name=$2 candidate
    for candidate in "$(dirname "$includer")/$name" "$name" "tools/$name" "tests/$name"; do
        if [ -f "$candidate" ]; then
            realpath --relative-to=. "$candidate"
            return
        fi
    done
}

failures=0
files=0
includes=0
while IFS= read -r file; do
    [ -f "$file" ] || continue # deleted, not yet staged
    files=$((files + 1))
    folder=$(folder_of "$file")
    if [ -z "$folder" ]; then
        echo "$file: lies in no folder of the order"
        failures=$((failures + 1))
        continue
    fi
    while IFS=: read -r line name; do
        includes=$((includes + 1))
        target=$(found_at "$file" "$name")
        if [ -z "$target" ]; then
            echo "$file:$line: \"$name\" is not found"
            failures=$((failures + 1))
            continue
        fi
        target_folder=$(folder_of "$target")
        if [ -z "$target_folder" ]; then
            echo "$file:$line: includes $target, which lies in no folder of the order"
            failures=$((failures + 1))
        elif ((rank[$target_folder] > rank[$folder])); then
            echo "$file:$line: includes $target, but $target_folder comes after $folder in the" \
                "folder order"
            failures=$((failures + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.c' '*.cpp' '*.inc')

if ((failures > 0)); then
    echo "FAIL: $failures of $includes includes in $files files break the folder order"
    exit 1
fi
echo "PASS: $includes includes in $files files follow the folder order: ${order[*]}"
