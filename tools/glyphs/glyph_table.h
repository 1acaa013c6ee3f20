#pragma once

#include "glyphs/bdf_font.h"
#include "core/glyph_cell.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The text pages' 8 x 12 glyphs for all 256 bytes of code page 437, cut from an 8 x 13 font.
namespace omra::tools {

struct CutGlyphs {
    GlyphTable table{};
    // Bytes whose dropped top row had ink the row below it lacks: their shape changes.
    std::vector<int> inkLost;
};

// Places every byte's glyph in the font's 8 x 13 cell (ascent above the baseline, descent
// below) and drops the cell's top row. The half blocks 0xDC and 0xDF are drawn exactly, since
// cutting a row off the font's would leave them uneven. Throws std::runtime_error naming the
// first byte whose character the font lacks or whose glyph leaves the cell.
CutGlyphs cutCp437Glyphs(const BdfFont& font);

// The table as C++ source: one brace-enclosed row list per byte, for an array initialiser.
std::string glyphTableSource(const GlyphTable& table, const std::string& heading);

} // namespace omra::tools
