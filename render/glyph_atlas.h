#pragma once

#include "core/gl_api.h"
#include "core/glyph_cell.h"

#include <cstdint>
#include <memory>

namespace omra {

// The text pages' glyphs: the image of core/glyph_cell.h's cells, white (255 in every channel)
// on black. The image is stored the way a bottom-up 24-bit device-independent bitmap is: 256
// rows of 768 bytes, bottom row first.
inline constexpr int GlyphAtlasRowBytes = GlyphAtlasSize * 3;
inline constexpr int GlyphAtlasBytes = GlyphAtlasRowBytes * GlyphAtlasSize;

// Gives the pixels back to whichever allocator the platform drew them with.
struct GlyphAtlasPixelsRelease {
    void operator()(std::uint8_t* pixels) const;
};

using GlyphAtlasPixels = std::unique_ptr<std::uint8_t[], GlyphAtlasPixelsRelease>;

// The platform draws the atlas: Windows with GDI from its raster "Terminal" font, Linux from
// the code-page-437 glyph table.
GlyphAtlasPixels drawGlyphAtlas();

// A new texture holding the atlas, its first row at v = 0, so v = 1 is the atlas's top. Sampled
// without filtering, since each glyph quad covers its texels one to one. Leaves it bound.
GLuint uploadGlyphAtlas(const std::uint8_t* pixels);

} // namespace omra
