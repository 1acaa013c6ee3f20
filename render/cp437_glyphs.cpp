#include "render/cp437_glyphs.h"

namespace omra {

const GlyphTable Cp437Glyphs = {{
#include "render/cp437_glyphs.inc"
}};

} // namespace omra
