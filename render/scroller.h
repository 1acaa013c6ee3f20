#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace omra {

// Sizes the scroller's glyph quads are cut from: the sheet's cells and glyphs and the sheet.
struct GlyphSheetMetrics {
    int cellWidth;
    int cellHeight;
    int glyphWidth;
    int glyphHeight;
    int sheetWidth;
    int sheetHeight;
};

// Top-left corner of a scroller glyph in sprite pixels (y up).
struct GlyphPosition {
    int x;
    int y;
};

// Where character `index` of a line of `length` characters stands at scene time t in a window
// `width` pixels wide, or false when it lies wholly off the visible range. The line moves left
// at 120 pixels per second, repeats after itself plus one window width, and rides a sine wave
// of 40 pixels around y = 80.
bool scrollerGlyphPosition(std::size_t index, std::size_t length, float t, int width,
                           GlyphPosition& position);

// Appends the two triangles (six (x, y, u, v) vertices) of the glyph for `code` hanging from
// `position`, upright: texture v grows downward in the sheet.
void appendGlyphQuad(std::vector<float>& vertices, std::uint8_t code, GlyphPosition position,
                     const GlyphSheetMetrics& sheet);

// The vertices of every visible glyph of the scroller `text` at scene time t, in text order.
// Blanks and line feeds keep their slot and draw nothing.
void buildScrollerVertices(std::vector<float>& vertices, std::string_view text, float t, int width,
                           const GlyphSheetMetrics& sheet);

} // namespace omra
