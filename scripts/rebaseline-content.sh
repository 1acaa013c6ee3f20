#!/usr/bin/env bash
# Rewrites what the tests labelled `content` expect of data/ from what data/ now holds: the
# golden frames of the scene (tests/golden/*.png) and tests/golden/content.txt (the pages, their
# sizes, the scroller's length, which files the project's generators made). Run it after
# changing data/, look at the new pictures and `git diff tests/golden`, and commit them with the
# data. The other labels never depend on what data/ holds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=build/debug

[ -d "$build" ] || cmake --preset debug >/dev/null
cmake --build --preset debug --target asset_pack omra_golden_frames omra-art omra-tune

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/art/omra-art" "$work"
"$build/tools/tune/omra-tune" "$work/module.xm"
generated=()
for file in logo.tga font.tga module.xm; do
    if cmp -s "data/$file" "$work/$file"; then
        generated+=("$file")
    fi
done

# The pack as the build made it: entry 2 is the scroller, entries 6 on the pages in name order.
python3 - "$build/pack.bin" "${generated[*]}" data/pages/*.txt >"$work/content.txt" <<'PYTHON'
import os, struct, sys
pack = open(sys.argv[1], "rb").read()
generated, names = sys.argv[2], [os.path.basename(p) for p in sys.argv[3:]]
entries, offset = [], 0
while offset < len(pack):
    (length,) = struct.unpack_from("<I", pack, offset)
    entries.append(pack[offset + 4 : offset + 4 + length])
    offset += 4 + length
print("# What the content tests expect of data/; scripts/rebaseline-content.sh rewrites it from data/.")
print("scroller", len(entries[2]))
for name, page in zip(names, entries[6:]):
    art = any(0xB0 <= byte <= 0xDF for byte in page)
    print("page", name, len(page), "art" if art else "plain")
print("generated", generated)
PYTHON
mv "$work/content.txt" tests/golden/content.txt

OMRA_UPDATE_GOLDEN_FRAMES=1 "$build/tests/omra_golden_frames" >/dev/null
echo "Rewrote tests/golden/content.txt and the golden frames. Look at tests/golden/*.png and"
echo "'git diff tests/golden' before committing them; then: ctest --test-dir $build -L content"
