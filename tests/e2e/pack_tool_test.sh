#!/usr/bin/env bash
# omra-pack from the command line: a good pack from the project's sources, one clear line and a
# non-zero exit for bad input, and never a half-written output; and the build of data/ handing
# it every page in data/pages.
#   pack_tool_test.sh OMRA_PACK DATA_DIR [CMAKE]
set -euo pipefail
tool=$1
data=$2
cmake=${3:-cmake}

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)

declare -A good=([logo]="$data/logo.tga" [module]="$data/module.xm"
    [scroller]="$data/scroller.txt" [font]="$data/font.tga")
sources=(--logo "${good[logo]}" --module "${good[module]}" --scroller "${good[scroller]}"
    --font "${good[font]}")

"$tool" "${sources[@]}" --page "$data/pages/1-title.txt" --output "$work/pack.bin" ||
    fail "a pack from the project's sources"
[ -s "$work/pack.bin" ] || fail "the pack is empty"

# Conventional command line: help on stdout with exit 0, usage errors with exit 2.
"$tool" --help | grep -q '^usage: omra-pack' || fail "--help prints the usage"
for usage_case in "missing --module|--logo ${good[logo]}" "unknown option --bogus|--bogus" \
    "missing file after --output|${sources[*]} --output"; do
    IFS='|' read -r expected words <<<"$usage_case"
    status=0
    # shellcheck disable=SC2086  # the words are split on purpose
    "$tool" $words >"$work/stdout" 2>"$work/stderr" || status=$?
    [ "$status" -eq 2 ] || fail "exit $status, not 2, for: $words"
    grep -qF -- "omra-pack: $expected" "$work/stderr" || fail "expected '$expected', got: $(cat "$work/stderr")"
    grep -q '^usage: omra-pack' "$work/stderr" || fail "no usage after a usage error: $words"
done

# Runs the tool with ARGS and --output OUT, and expects a refusal: exit 1, exactly one stderr
# line containing EXPECTED, and neither OUT nor its temporary file left behind.
expect_refusal() {
    local expected=$1 out=$2 status=0
    shift 2
    "$tool" "$@" --output "$out" >"$work/stdout" 2>"$work/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "exit $status, not 1, for: $*"
    [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "not one line for: $*: $(cat "$work/stderr")"
    grep -qF -- "$expected" "$work/stderr" || fail "expected '$expected', got: $(cat "$work/stderr")"
    [ ! -s "$work/stdout" ] || fail "output on stdout for: $*"
    [ ! -e "$out.partial" ] || fail "a temporary file left behind for: $*"
}

# Bad sources: each case replaces one source file. Columns: role, file, expected message.
: >"$work/empty"
head -c 1000 "${good[font]}" >"$work/cut.tga"
head -c 100 "${good[module]}" >"$work/header-cut.xm"
head -c 20000 "${good[module]}" >"$work/pattern-cut.xm"
head -c $(($(stat -c %s "${good[module]}") - 1)) "${good[module]}" >"$work/end-cut.xm"
head -c 5000 "${good[logo]}" >"$work/run-length.tga"
printf '\x0a' | dd of="$work/run-length.tga" bs=1 seek=2 conv=notrunc status=none
printf 'ok\n\tindented\n' >"$work/tab.txt"
printf 'snow \xe2\x98\x83\n' >"$work/snow.txt"
printf 'two\nlines\n' >"$work/two-lines.txt"
seq 24 >"$work/tall.txt"
source_cases=(
    "logo|$work/none.tga|$work/none.tga: No such file"
    "logo|$data|$data: is a directory"
    "logo|$work/empty|$work/empty (logo): empty file"
    "logo|${good[font]}|${good[font]} (logo): must be 425 x 81 at 24 bits, is 512 x 512 at 32 bits"
    "logo|$work/run-length.tga|$work/run-length.tga (logo): must be an uncompressed true-colour TGA (type 2), is type 10"
    "font|$work/cut.tga|$work/cut.tga (font): not a TGA image, or shorter than its header says"
    "font|${good[logo]}|${good[logo]} (font): must be 512 x 512 at 32 bits"
    "module|$work/empty|$work/empty (module): empty file"
    "module|${good[logo]}|${good[logo]} (module): not an XM module"
    "module|$work/header-cut.xm|$work/header-cut.xm (module): truncated: it ends inside the module header"
    "module|$work/pattern-cut.xm|$work/pattern-cut.xm (module): truncated: it ends inside pattern "
    "module|$work/end-cut.xm|$work/end-cut.xm (module): truncated: it ends inside instrument "
    "scroller|$work/two-lines.txt|$work/two-lines.txt (scroller): line 1, column 4: a line break is not printable ASCII"
    "page|$work/tall.txt|$work/tall.txt (page): 24 lines, more than the 20 that stay on screen"
    "page|$work/tab.txt|tab.txt:2:1: tab"
    "page|$work/snow.txt|snow.txt:1:6: character U+2603"
    "page|$work/none.txt|$work/none.txt: No such file"
)
for source_case in "${source_cases[@]}"; do
    IFS='|' read -r role file expected <<<"$source_case"
    arguments=()
    for name in logo module scroller font; do
        arguments+=("--$name" "$([ "$name" = "$role" ] && echo "$file" || echo "${good[$name]}")")
    done
    [ "$role" = page ] && arguments+=(--page "$file")
    expect_refusal "$expected" "$work/bad.bin" "${arguments[@]}"
    [ ! -e "$work/bad.bin" ] || fail "a pack written from a bad $role: $file"
done

# Bad outputs. Renaming over a pipe or a device would replace it, so those are refused too; the
# device is a private copy of /dev/null where this runs as root.
: >"$work/a-file"
mkfifo "$work/pipe"
output_cases=(
    "$work/no-such-folder/pack.bin|$work/no-such-folder/pack.bin: No such file or directory"
    "$work/a-file/pack.bin|$work/a-file/pack.bin: Not a directory"
    "$work|$work: is a directory"
    "$work/pipe|$work/pipe: not a regular file"
)
mknod "$work/device" c 1 3 2>/dev/null && output_cases+=("$work/device|$work/device: not a regular file")
for output_case in "${output_cases[@]}"; do
    IFS='|' read -r out expected <<<"$output_case"
    expect_refusal "$expected" "$out" "${sources[@]}"
    [ ! -f "$out" ] || fail "a refused output became a regular file: $out"
done

# A failed run leaves an existing pack as it was.
cp "$work/pack.bin" "$work/bad.bin"
"$tool" "${sources[@]}" --page "$work/tab.txt" --output "$work/bad.bin" 2>/dev/null && fail "accepted a tab"
cmp -s "$work/pack.bin" "$work/bad.bin" || fail "a failed run changed the existing pack"

# The build of data/ on a copy with pages of its own: every pages/*.txt in name order, a renamed
# page found again at the next build, a bad fifth page refused, no page at all refused.
mkdir -p "$work/build-data/project"
cp -r "$data" "$work/build-data/data"
pages="$work/build-data/data/pages"
rm -f "$pages"/*.txt
for page in 5-e 2-b 1-a 4-d 3-c; do
    printf '%s\n' "page ${page#*-}" >"$pages/$page.txt"
done
cat >"$work/build-data/project/CMakeLists.txt" <<END
cmake_minimum_required(VERSION 3.25)
project(pack_pages LANGUAGES C ASM)
set(OMRA_PACK_TOOL "$tool")
set(OMRA_PACK_TOOL_TARGET "")
add_subdirectory("$work/build-data/data" data)
END
built="$work/build-data/build"
"$cmake" -S "$work/build-data/project" -B "$built" -G Ninja >"$work/cmake.log" 2>&1 ||
    fail "configuring the data folder" "$work/cmake.log"
build_pack() { "$cmake" --build "$built" --target asset_pack >"$work/build.log" 2>&1; }

# The page count and the pages of a pack, one a line.
pack_pages() {
    local pack=$1 offset=0 entry=0 length
    while ((offset < $(stat -c %s "$pack"))); do
        length=$(od -An -tu4 -j "$offset" -N4 "$pack" | tr -d ' ')
        if ((entry == 5)); then
            echo "count $(od -An -tu4 -j $((offset + 4)) -N4 "$pack" | tr -d ' ')"
        elif ((entry > 5)); then
            tail -c +$((offset + 5)) "$pack" | head -c "$length"
            echo
        fi
        offset=$((offset + 4 + length))
        entry=$((entry + 1))
    done
}
expect_pages() {
    local expected=$1 got
    build_pack || fail "building the pack for: $expected" "$work/build.log"
    got=$(pack_pages "$built/pack.bin" | paste -sd,)
    [ "$got" = "$expected" ] || fail "pages '$got', not '$expected'"
}
expect_pages "count 5,page a,page b,page c,page d,page e"
mv "$pages/3-c.txt" "$pages/6-c.txt"
expect_pages "count 5,page a,page b,page d,page e,page c"
printf 'ok\n\tindented\n' >"$pages/7-tab.txt"
build_pack && fail "the build took a page with a tab"
grep -qF "7-tab.txt:2:1: tab" "$work/build.log" || fail "no line naming the tab" "$work/build.log"
rm -f "$pages"/*.txt
build_pack && fail "the build took a folder without pages"
grep -qF "The intro needs at least one text page" "$work/build.log" ||
    fail "no line saying a page is needed" "$work/build.log"

echo "PASS: omra-pack builds good packs and refuses bad input cleanly; the build takes every page"
