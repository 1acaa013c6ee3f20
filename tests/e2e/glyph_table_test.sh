#!/usr/bin/env bash
# The committed glyph table is exactly what its generator cuts from the packaged font.
# Usage: glyph_table_test.sh OMRA_GLYPHS SOURCE_DIR
set -euo pipefail
tool=$1
source_dir=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
bash "$source_dir/scripts/generate-glyph-table.sh" "$tool" "$out" 2>/dev/null
cmp -s "$out" "$source_dir/render/cp437_glyphs.inc" ||
    { echo "FAIL: render/cp437_glyphs.inc differs from what scripts/generate-glyph-table.sh writes"; exit 1; }
echo "PASS: the committed glyph table is what the generator writes"
