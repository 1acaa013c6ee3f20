#pragma once

#include <array>
#include <cstdint>

// The text pages' glyph and its cell: each of the 256 character codes has an 8 × 12 glyph in the
// top-left corner of a 16 × 16 cell of the glyph atlas, which holds 16 × 16 such cells, code c
// in column c mod 16 and row c / 16 counted from the top-left.
namespace omra {

inline constexpr int GlyphCount = 256;
inline constexpr int GlyphWidth = 8;
inline constexpr int GlyphHeight = 12;
inline constexpr int GlyphAtlasCellSize = 16;
inline constexpr int GlyphAtlasColumns = 16;
inline constexpr int GlyphAtlasSize = GlyphAtlasColumns * GlyphAtlasCellSize;

static_assert(GlyphAtlasColumns * GlyphAtlasColumns == GlyphCount);
static_assert(GlyphWidth <= GlyphAtlasCellSize && GlyphHeight <= GlyphAtlasCellSize);

// A glyph's rows, top row first; bit 7 is the leftmost pixel.
using GlyphRows = std::array<std::uint8_t, GlyphHeight>;
using GlyphTable = std::array<GlyphRows, GlyphCount>;

} // namespace omra
