#include "render/cp437_glyphs.h"

namespace omra {

const std::array<GlyphRows, 256> Cp437Glyphs = {{
#include "render/cp437_glyphs.inc"
}};

} // namespace omra
