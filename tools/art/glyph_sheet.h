#pragma once

#include "assets/pack_layout.h"
#include "tga/tga.h"

#include <filesystem>

namespace omra::tools {

// The scroller's glyph sheet: 16 x 16 cells of 32 x 32 pixels on a 512 x 512 image, code c in
// column c mod 16 and row c / 16 from the top-left, its glyph inside the cell's top-left
// 16 x 18 pixels. The scroller draws exactly that corner of a cell and advances 16 pixels.
static_assert(GlyphSheetImageSize.width == GlyphSheetImageSize.height);
inline constexpr int SheetSize = GlyphSheetImageSize.width;
inline constexpr int CellSize = 32;
inline constexpr int GlyphWidth = 16;
inline constexpr int GlyphHeight = 18;
inline constexpr int FirstGlyphCode = 32; // the printable ASCII range
inline constexpr int LastGlyphCode = 126;

// Renders the printable ASCII characters of `fontFile` (through FreeType) in a warm vertical
// gradient with a violet shadow, on pure black; 32 bits, uncompressed. Throws
// std::runtime_error when the font cannot be read or a glyph would leave its 16 x 18 area.
TgaImage drawGlyphSheet(const std::filesystem::path& fontFile);

} // namespace omra::tools
