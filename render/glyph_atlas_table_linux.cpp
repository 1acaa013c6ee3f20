#include "render/cp437_glyphs.h"
#include "render/glyph_atlas.h"
#include "render/glyph_table_raster.h"

// Linux has no "Terminal" font: the atlas comes from the build's own code-page-437 table.
namespace omra {

void GlyphAtlasPixelsRelease::operator()(std::uint8_t* pixels) const {
    delete[] pixels;
}

GlyphAtlasPixels drawGlyphAtlas() {
    GlyphAtlasPixels pixels(new std::uint8_t[GlyphAtlasBytes]);
    rasteriseGlyphTable(Cp437Glyphs, pixels.get());
    return pixels;
}

} // namespace omra
