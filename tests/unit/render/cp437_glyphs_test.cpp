#include "render/cp437_glyphs.h"

#include <gtest/gtest.h>

namespace omra {
namespace {

bool hasInk(const GlyphRows& rows) {
    for (const std::uint8_t row : rows) {
        if (row != 0) {
            return true;
        }
    }
    return false;
}

// Box-drawing lines must reach the cell's edges, or the pages' frames break between characters.
TEST(Cp437Glyphs, BoxLinesReachTheEdgesOfTheCell) {
    const GlyphRows& horizontal = Cp437Glyphs[0xC4]; // ─
    const GlyphRows& vertical = Cp437Glyphs[0xB3];   // │
    const GlyphRows& cross = Cp437Glyphs[0xC5];      // ┼
    int fullRows = 0;
    for (int row = 0; row < GlyphHeight; ++row) {
        fullRows += horizontal[row] == 0xFF;
        EXPECT_NE(vertical[row], 0) << "row " << row;
        EXPECT_EQ(vertical[row], vertical[0]) << "one straight column, row " << row;
        EXPECT_NE(cross[row] & vertical[0], 0) << "row " << row;
    }
    EXPECT_EQ(fullRows, 1);
    const GlyphRows& doubleVertical = Cp437Glyphs[0xBA]; // ║
    for (int row = 0; row < GlyphHeight; ++row) {
        EXPECT_EQ(doubleVertical[row], doubleVertical[0]) << "row " << row;
    }
}

TEST(Cp437Glyphs, BlocksFillTheirPartOfTheCell) {
    for (int row = 0; row < GlyphHeight; ++row) {
        EXPECT_EQ(Cp437Glyphs[0xDB][row], 0xFF) << "full block, row " << row;
        EXPECT_EQ(Cp437Glyphs[0xDC][row], row >= GlyphHeight / 2 ? 0xFF : 0x00) << "row " << row;
        EXPECT_EQ(Cp437Glyphs[0xDF][row], row < GlyphHeight / 2 ? 0xFF : 0x00) << "row " << row;
        EXPECT_EQ(Cp437Glyphs[0xDD][row], 0xF0) << "left half, row " << row;
        EXPECT_EQ(Cp437Glyphs[0xDE][row], 0x0F) << "right half, row " << row;
    }
}

TEST(Cp437Glyphs, OnlyTheBlankBytesAreBlank) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool blank = byte == 0x00 || byte == 0x20 || byte == 0xFF;
        EXPECT_EQ(hasInk(Cp437Glyphs[byte]), !blank) << "byte " << byte;
    }
}

} // namespace
} // namespace omra
