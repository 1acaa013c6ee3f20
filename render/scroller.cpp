#include "render/scroller.h"

#include <cmath>
#include <cstdint>

namespace omra {

namespace {

constexpr std::uint8_t LineFeed = 10;
constexpr std::uint8_t Blank = 32;
constexpr int PixelsPerCharacter = 16;

} // namespace

bool scrollerGlyphPosition(std::size_t index, std::size_t length, float t, int width,
                           GlyphPosition& position) {
    const auto travelled = static_cast<std::int32_t>(t * 120.0f);
    const auto period = static_cast<std::uint32_t>(PixelsPerCharacter * length + width);
    const std::uint32_t shift = static_cast<std::uint32_t>(travelled) % period;
    const int x = PixelsPerCharacter * static_cast<int>(index) - static_cast<int>(shift) + width;
    // The sprite projection shows x from 16 to width + 16.
    if (x < 0 || x > width + 16) {
        return false;
    }
    // The phase is summed in single precision, the sine taken in double and rounded back.
    const float phase = static_cast<float>(x) / 160.0f + t * 6.0f;
    const auto wave = static_cast<float>(std::sin(static_cast<double>(phase)));
    position = {x, 80 - static_cast<int>(wave * -40.0f)};
    return true;
}

void appendGlyphQuad(std::vector<float>& vertices, std::uint8_t code, GlyphPosition position,
                     const GlyphSheetMetrics& sheet) {
    const int column = code % 16;
    const int row = code / 16;
    const auto sheetWidth = static_cast<float>(sheet.sheetWidth);
    const auto sheetHeight = static_cast<float>(sheet.sheetHeight);
    const float uLeft = static_cast<float>(column * sheet.cellWidth) / sheetWidth;
    // The top of the glyph's cell, counted from the sheet's top (row / 16 for this sheet).
    const float vTop = 1.0f - static_cast<float>((17 - row) * sheet.cellHeight) / sheetHeight +
                       static_cast<float>(sheet.cellHeight) / sheetHeight;
    const float du = static_cast<float>(sheet.glyphWidth) / sheetWidth;
    const float dv = static_cast<float>(sheet.glyphHeight) / sheetHeight;
    const auto left = static_cast<float>(position.x);
    const auto top = static_cast<float>(position.y);
    const auto right = static_cast<float>(position.x + sheet.glyphWidth);
    const auto bottom = static_cast<float>(position.y - sheet.glyphHeight);
    vertices.insert(vertices.end(), {left,  top,    uLeft,      vTop,      //
                                     left,  bottom, uLeft,      vTop + dv, //
                                     right, top,    uLeft + du, vTop,      //
                                     left,  bottom, uLeft,      vTop + dv, //
                                     right, top,    uLeft + du, vTop,      //
                                     right, bottom, uLeft + du, vTop + dv});
}

void buildScrollerVertices(std::vector<float>& vertices, std::string_view text, float t, int width,
                           const GlyphSheetMetrics& sheet) {
    vertices.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(text[i]);
        GlyphPosition position{};
        if (code == Blank || code == LineFeed ||
            !scrollerGlyphPosition(i, text.size(), t, width, position)) {
            continue;
        }
        appendGlyphQuad(vertices, code, position, sheet);
    }
}

} // namespace omra
