#include "glyphs/bdf_font.h"
#include "glyphs/glyph_table.h"
#include "pack/cp437.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra::tools {
namespace {

std::string glyphEntry(char32_t codePoint, const std::string& box, const std::string& rows) {
    return "STARTCHAR c\nENCODING " + std::to_string(codePoint) +
           "\nSWIDTH 568 0\nDWIDTH 8 0\nBBX " + box + "\nBITMAP\n" + rows + "ENDCHAR\n";
}

// An 8 x 13 font (ascent 11, descent 2) with a full-cell block for every code page 437
// character, so single glyphs can be replaced.
std::string fontText(const std::string& extra = {}, char32_t skip = 0) {
    std::string text = "STARTFONT 2.1\nFONT test\nCOPYRIGHT \"Made for a test.\"\nFONT_ASCENT 11\n"
                       "FONT_DESCENT 2\nCHARS 256\n";
    text += extra;
    std::string fullRows;
    for (int row = 0; row < 13; ++row) {
        fullRows += "FF\n";
    }
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t codePoint = cp437Glyph(static_cast<std::uint8_t>(byte));
        if (codePoint != skip &&
            extra.find("ENCODING " + std::to_string(codePoint) + "\n") == std::string::npos) {
            text += glyphEntry(codePoint, "8 13 0 -2", fullRows);
        }
    }
    return text + "ENDFONT\n";
}

TEST(GlyphTable, PlacesGlyphsByTheirBoxAndDropsTheCellsTopRow) {
    // 'A' as a 3 x 2 box one pixel right of the origin, its bottom row on the baseline: cell rows
    // 9 and 10 (of 0..12), table rows 8 and 9. '_' sits in the descent: cell row 12, table 11.
    const std::string a = glyphEntry(U'A', "3 2 1 0", "E0\nA0\n");
    const std::string underline = glyphEntry(U'_', "8 1 0 -2", "FF\n");
    const CutGlyphs cut = cutCp437Glyphs(parseBdf(fontText(a + underline), "test.bdf"));
    GlyphRows expectedA{};
    expectedA[8] = 0x70;
    expectedA[9] = 0x50;
    EXPECT_EQ(cut.table['A'], expectedA);
    GlyphRows expectedUnderline{};
    expectedUnderline[11] = 0xFF;
    EXPECT_EQ(cut.table['_'], expectedUnderline);
    // Full blocks keep 12 full rows: the dropped row repeats the next, so no shape changes.
    GlyphRows full;
    full.fill(0xFF);
    EXPECT_EQ(cut.table[0xDB], full);
    EXPECT_TRUE(cut.inkLost.empty());
}

TEST(GlyphTable, DrawsTheHalfBlocksExactlyAndReportsChangedShapes) {
    // A top row unlike the one below it: the glyph of byte 0xB0 changes when it goes.
    const std::string shade =
        glyphEntry(0x2591, "8 13 0 -2", "AA\n55\nAA\n55\nAA\n55\nAA\n55\nAA\n55\nAA\n55\nAA\n");
    const CutGlyphs cut = cutCp437Glyphs(parseBdf(fontText(shade), "test.bdf"));
    for (int row = 0; row < GlyphHeight; ++row) {
        EXPECT_EQ(cut.table[0xDC][row], row < 6 ? 0x00 : 0xFF) << "lower half, row " << row;
        EXPECT_EQ(cut.table[0xDF][row], row < 6 ? 0xFF : 0x00) << "upper half, row " << row;
    }
    EXPECT_EQ(cut.inkLost, std::vector<int>{0xB0});
    EXPECT_EQ(cut.table[0xB0][0], 0x55);
}

TEST(GlyphTable, RefusesFontsItCannotCutWithTheReason) {
    EXPECT_THROW(
        {
            try {
                cutCp437Glyphs(parseBdf(fontText({}, 0x2592), "test.bdf"));
            } catch (const std::runtime_error& error) {
                EXPECT_NE(std::string(error.what()).find("byte 0xB1 (U+2592)"), std::string::npos)
                    << error.what();
                throw;
            }
        },
        std::runtime_error);
    // Ink right of the 8 columns, and above the cell.
    EXPECT_THROW(cutCp437Glyphs(parseBdf(fontText(glyphEntry(U'x', "8 1 1 0", "FF\n")), "t")),
                 std::runtime_error);
    EXPECT_THROW(cutCp437Glyphs(parseBdf(fontText(glyphEntry(U'x', "1 1 0 11", "80\n")), "t")),
                 std::runtime_error);
}

TEST(BdfFont, ReportsWhereTheTextStopsMakingSense) {
    const auto message = [](const std::string& text) {
        try {
            parseBdf(text, "f.bdf");
        } catch (const std::runtime_error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(""), "f.bdf:0: not a BDF font: it is empty");
    EXPECT_EQ(message("hello\n"), "f.bdf:1: not a BDF font: it does not begin with STARTFONT");
    EXPECT_EQ(message("STARTFONT 2.1\nFONT_ASCENT x\n"), "f.bdf:2: 'x' is not a number");
    EXPECT_EQ(message("STARTFONT 2.1\nSTARTCHAR a\nENCODING 65\nBBX 8 2 0 0\nBITMAP\nFF\n"),
              "f.bdf:6: the font ends inside a bitmap");
    EXPECT_EQ(message("STARTFONT 2.1\nSTARTCHAR a\nBBX 8 1 0 0\nBITMAP\nZZ\n"),
              "f.bdf:5: 'ZZ' is not a hexadecimal bitmap row");
}

} // namespace
} // namespace omra::tools
