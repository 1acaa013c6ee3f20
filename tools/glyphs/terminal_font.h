#pragma once

#include "glyphs/glyph_table.h"

#include <cstdint>
#include <vector>

// A Windows raster font file (.fon: an NE module holding one FNT 2.0 font) named "Terminal",
// 8 x 12, OEM character set, with the glyph table's shapes at their code page 437 bytes. It
// stands in for the system font Wine lacks, so the Windows build can be tested under Wine.
namespace omra::tools {

std::vector<std::uint8_t> terminalFontFile(const GlyphTable& glyphs);

} // namespace omra::tools
