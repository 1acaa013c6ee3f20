#pragma once

#include "render/cp437_glyphs.h"

#include <cstdint>

namespace omra {

// Draws a table of 8 × 12 glyphs into an atlas image of GlyphAtlasBytes (render/glyph_atlas.h):
// black everywhere, each glyph's set bits white in its cell's top-left corner.
void rasteriseGlyphTable(const std::array<GlyphRows, 256>& glyphs, std::uint8_t* pixels);

} // namespace omra
