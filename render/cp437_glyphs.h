#pragma once

#include "core/glyph_cell.h"

// The Linux build's glyphs for the text pages: all 256 bytes of code page 437, 8 x 12 pixels,
// the shapes the Windows build gets from its raster "Terminal" font.
namespace omra {

extern const GlyphTable Cp437Glyphs;

} // namespace omra
