#pragma once

#include "core/text_page.h"
#include "core/glyph_cell.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace omra {

// Where each character of a text page goes, in window pixels with y up, and which part of the
// glyph atlas it shows: glyphs one glyph width apart, lines one glyph height apart.
inline constexpr float PageGlyphAdvance = GlyphWidth;
inline constexpr float PageLinePitch = GlyphHeight;

// Fills the page's width (its longest line in bytes, without the line feed) and its line count
// (line feeds plus one, so a text ending in a line feed has an empty last line).
void measurePage(TextPage& page);

// The window y of the first line's bottom edge. The centring counts 8 pixels per line, not the
// 12-pixel pitch, so the page sits a little high and every added line moves it 4 pixels up.
float pageTop(std::int32_t viewportHeight, std::int32_t lines);

// One glyph as a strip of four (x, y, u, v) vertices: bottom-left, top-left, bottom-right,
// top-right. Its texel window is exactly the glyph area of the code's atlas cell.
using GlyphQuad = std::array<float, 16>;

GlyphQuad glyphQuad(std::uint8_t code, float x, float y);

// Calls draw(quad) for every character of the text that shows a glyph, in text order, the first
// line's glyphs starting at (left, top). A line feed starts the next line and a blank only
// advances; every other byte, control codes included, shows the atlas glyph of its code.
template <typename Draw>
void forEachPageGlyph(std::string_view text, std::int32_t left, float top, Draw draw) {
    float x = static_cast<float>(left);
    float y = top;
    for (const char character : text) {
        const auto code = static_cast<std::uint8_t>(character);
        if (code == '\n') {
            y -= PageLinePitch;
            x = static_cast<float>(left);
            continue;
        }
        if (code != ' ') {
            draw(glyphQuad(code, x, y));
        }
        x += PageGlyphAdvance;
    }
}

} // namespace omra
