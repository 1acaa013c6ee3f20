#include "render/text_page_layout.h"

#include <algorithm>

namespace omra {

namespace {

// A cell's and a glyph's extent in texture coordinates; all are exact in binary.
constexpr float CellSpan = static_cast<float>(GlyphAtlasCellSize) / GlyphAtlasSize;
constexpr float GlyphUSpan = static_cast<float>(GlyphWidth) / GlyphAtlasSize;
constexpr float GlyphVSpan = static_cast<float>(GlyphHeight) / GlyphAtlasSize;

} // namespace

void measurePage(TextPage& page) {
    std::int32_t lines = 1;
    std::int32_t longest = 0;
    std::int32_t current = 0;
    for (const char character : page.text) {
        if (character == '\n') {
            ++lines;
            current = 0;
            continue;
        }
        ++current;
        longest = std::max(longest, current);
    }
    page.width = longest;
    page.lines = lines;
}

float pageTop(std::int32_t viewportHeight, std::int32_t lines) {
    return static_cast<float>(viewportHeight - (viewportHeight - 8 * lines) / 2);
}

GlyphQuad glyphQuad(std::uint8_t code, float x, float y) {
    const int column = code % GlyphAtlasColumns;
    const int row = code / GlyphAtlasColumns;
    // The atlas's first row is its bottom, so v = 1 is the top of the top row of cells.
    const float left = static_cast<float>(column) * CellSpan;
    const float right = left + GlyphUSpan;
    const float top = 1.0f - static_cast<float>(row) * CellSpan;
    const float bottom = top - GlyphVSpan;
    const float glyphRight = x + PageGlyphAdvance;
    const float glyphTop = y + PageLinePitch;
    return {x,          y, left,  bottom, x,          glyphTop, left,  top,
            glyphRight, y, right, bottom, glyphRight, glyphTop, right, top};
}

} // namespace omra
