#!/usr/bin/env bash
# Regenerates render/cp437_glyphs.inc, the Linux build's 8 x 12 glyphs for the text pages, from
# the 8x13 misc-fixed font of Debian's xfonts-base (public domain), converted to BDF by pcf2bdf.
# Usage: scripts/generate-glyph-table.sh [OMRA_GLYPHS [OUT]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool=${1:-$root/build/debug/tools/glyphs/omra-glyphs}
out=${2:-$root/render/cp437_glyphs.inc}
font=/usr/share/fonts/X11/misc/8x13.pcf.gz

for need in "$font" "$(command -v pcf2bdf || true)" "$tool"; do
    [[ -n "$need" && -e "$need" ]] || {
        echo "generate-glyph-table: missing ${need:-pcf2bdf} (apt-get install xfonts-base pcf2bdf;" \
            "build omra-glyphs with the debug preset)" >&2
        exit 1
    }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gzip -dc "$font" >"$work/8x13.pcf"
pcf2bdf -o "$work/8x13.bdf" "$work/8x13.pcf"
"$tool" "$work/8x13.bdf" "$out"
