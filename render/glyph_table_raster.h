#pragma once

#include "core/glyph_cell.h"

#include <cstdint>

namespace omra {

// Draws a table of 8 × 12 glyphs into an atlas image of GlyphAtlasBytes (render/glyph_atlas.h):
// black everywhere, each glyph's set bits white in its cell's top-left corner.
void rasteriseGlyphTable(const GlyphTable& glyphs, std::uint8_t* pixels);

} // namespace omra
