#pragma once

#include "render/glyph_atlas.h"

#include <windows.h>

namespace omra {

// Draws the atlas with GDI: every code of the raster "Terminal" font, white on black, in a
// memory bitmap compatible with `compatibleWith`, read back bottom-up from the process heap.
// Throws std::runtime_error naming the GDI or heap call that failed.
GlyphAtlasPixels drawGdiGlyphAtlas(HDC compatibleWith);

} // namespace omra
