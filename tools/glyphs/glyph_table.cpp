#include "glyphs/glyph_table.h"

#include "pack/cp437.h"

#include <cstdio>
#include <stdexcept>

namespace omra::tools {

namespace {

constexpr int CellHeight = GlyphHeight + 1; // the font's cell, before the top row goes
constexpr std::uint8_t LowerHalfBlock = 0xDC;
constexpr std::uint8_t UpperHalfBlock = 0xDF;

std::string describe(int byte, char32_t codePoint) {
    char text[48];
    std::snprintf(text, sizeof text, "byte 0x%02X (U+%04X)", byte,
                  static_cast<unsigned>(codePoint));
    return text;
}

// The 13 rows of a glyph in its cell, top first.
std::array<std::uint8_t, CellHeight> placeInCell(const BdfFont& font, const BdfGlyph& glyph,
                                                 const std::string& name) {
    std::array<std::uint8_t, CellHeight> cell{};
    // The bitmap's top row stands height - 1 rows above its bottom edge at offsetY.
    const int topCellRow = font.ascent - glyph.offsetY - glyph.height;
    for (int row = 0; row < glyph.height; ++row) {
        const std::uint32_t bits = glyph.rows[static_cast<std::size_t>(row)];
        if (bits == 0) {
            continue;
        }
        const int cellRow = topCellRow + row;
        // Bit 31 of the row is at x = offsetX; the cell's columns are x = 0..7.
        const std::uint64_t shifted = glyph.offsetX >= 0 ? std::uint64_t{bits} >> glyph.offsetX
                                                         : std::uint64_t{bits} << -glyph.offsetX;
        if (cellRow < 0 || cellRow >= CellHeight || (shifted & 0x00FF'FFFFull) != 0 ||
            shifted > 0xFFFF'FFFFull) {
            throw std::runtime_error(name + " has ink outside the 8 x 13 cell");
        }
        cell[static_cast<std::size_t>(cellRow)] = static_cast<std::uint8_t>(shifted >> 24);
    }
    return cell;
}

GlyphRows halfBlock(bool lower) {
    GlyphRows rows{};
    for (int row = 0; row < GlyphHeight; ++row) {
        const bool inLowerHalf = row >= GlyphHeight / 2;
        rows[static_cast<std::size_t>(row)] = inLowerHalf == lower ? 0xFF : 0x00;
    }
    return rows;
}

} // namespace

CutGlyphs cutCp437Glyphs(const BdfFont& font) {
    if (font.ascent + font.descent != CellHeight) {
        throw std::runtime_error("the font's cell is " +
                                 std::to_string(font.ascent + font.descent) + " rows high, not 13");
    }
    CutGlyphs result;
    for (int byte = 0; byte < 256; ++byte) {
        GlyphRows& rows = result.table[static_cast<std::size_t>(byte)];
        if (byte == LowerHalfBlock || byte == UpperHalfBlock) {
            rows = halfBlock(byte == LowerHalfBlock);
            continue;
        }
        const char32_t codePoint = cp437Glyph(static_cast<std::uint8_t>(byte));
        const auto found = font.glyphs.find(codePoint);
        if (found == font.glyphs.end()) {
            throw std::runtime_error("the font has no glyph for " + describe(byte, codePoint));
        }
        const auto cell = placeInCell(font, found->second, describe(byte, codePoint));
        // A top row that repeats the row below it (a vertical line) loses nothing of the shape.
        if ((cell[0] & ~cell[1]) != 0) {
            result.inkLost.push_back(byte);
        }
        std::copy(cell.begin() + 1, cell.end(), rows.begin());
    }
    return result;
}

std::string glyphTableSource(const GlyphTable& table, const std::string& heading) {
    std::string source = heading;
    char line[128];
    for (int byte = 0; byte < 256; ++byte) {
        const GlyphRows& rows = table[static_cast<std::size_t>(byte)];
        std::string entry = "{";
        for (int row = 0; row < GlyphHeight; ++row) {
            std::snprintf(line, sizeof line, "%s0x%02X", row == 0 ? "" : ", ",
                          rows[static_cast<std::size_t>(row)]);
            entry += line;
        }
        std::snprintf(line, sizeof line, "}, // 0x%02X\n", byte);
        source += entry + line;
    }
    return source;
}

} // namespace omra::tools
