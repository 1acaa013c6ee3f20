#pragma once

#include <array>
#include <cstdint>

// The Linux build's glyphs for the text pages: all 256 bytes of code page 437, 8 x 12 pixels,
// the shapes the Windows build gets from its raster "Terminal" font.
namespace omra {

inline constexpr int GlyphWidth = 8;
inline constexpr int GlyphHeight = 12;

// Top row first; bit 7 is the leftmost pixel.
using GlyphRows = std::array<std::uint8_t, GlyphHeight>;

extern const std::array<GlyphRows, 256> Cp437Glyphs;

} // namespace omra
