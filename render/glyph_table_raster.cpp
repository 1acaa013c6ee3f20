#include "render/glyph_table_raster.h"

#include "render/glyph_atlas.h"

#include <algorithm>

namespace omra {

void rasteriseGlyphTable(const GlyphTable& glyphs, std::uint8_t* pixels) {
    std::fill_n(pixels, GlyphAtlasBytes, std::uint8_t{0});
    for (int code = 0; code < GlyphCount; ++code) {
        const int cellLeft = code % GlyphAtlasColumns * GlyphAtlasCellSize;
        const int cellTop = code / GlyphAtlasColumns * GlyphAtlasCellSize;
        for (int row = 0; row < GlyphHeight; ++row) {
            // The image is stored bottom row first.
            std::uint8_t* line =
                pixels + (GlyphAtlasSize - 1 - (cellTop + row)) * GlyphAtlasRowBytes;
            for (int column = 0; column < GlyphWidth; ++column) {
                if ((glyphs[code][row] & (0x80 >> column)) != 0) {
                    std::fill_n(line + (cellLeft + column) * 3, 3, std::uint8_t{255});
                }
            }
        }
    }
}

} // namespace omra
