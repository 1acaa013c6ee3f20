#include "render/glyph_atlas_gdi_win32.h"
#include "shell/window_win32.h"

namespace omra {

// The atlas bitmap matches the main window's device context.
GlyphAtlasPixels drawGlyphAtlas() {
    return drawGdiGlyphAtlas(mainWindowDC());
}

} // namespace omra
