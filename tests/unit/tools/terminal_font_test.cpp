#include "glyphs/terminal_font.h"
#include "render/cp437_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_WINFONTS_H

#include <gtest/gtest.h>
#include <string>

namespace omra::tools {
namespace {

// Reads the stand-in font back with FreeType, the font engine Wine loads it with.
class TerminalFont : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FT_Init_FreeType(&library), 0);
        file = terminalFontFile(Cp437Glyphs);
        ASSERT_EQ(
            FT_New_Memory_Face(library, file.data(), static_cast<FT_Long>(file.size()), 0, &face),
            0);
    }
    void TearDown() override {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);
    }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::vector<std::uint8_t> file;
};

TEST_F(TerminalFont, IsAnOemRasterFontNamedTerminal) {
    EXPECT_EQ(std::string(face->family_name), "Terminal");
    ASSERT_EQ(face->num_fixed_sizes, 1);
    EXPECT_EQ(face->available_sizes[0].width, GlyphWidth);
    EXPECT_EQ(face->available_sizes[0].height, GlyphHeight);
    FT_WinFNT_HeaderRec header{};
    ASSERT_EQ(FT_Get_WinFNT_Header(face, &header), 0);
    EXPECT_EQ(header.charset, FT_WinFNT_ID_OEM);
    EXPECT_EQ(header.pixel_width, GlyphWidth);
    EXPECT_EQ(header.pixel_height, GlyphHeight);
    EXPECT_EQ(header.first_char, 0);
    EXPECT_EQ(header.last_char, 255);
}

TEST_F(TerminalFont, HoldsEveryByteOfTheGlyphTableAtItsCode) {
    ASSERT_EQ(face->num_charmaps, 1);
    ASSERT_EQ(FT_Set_Charmap(face, face->charmaps[0]), 0);
    for (int byte = 0; byte < 256; ++byte) {
        const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(byte));
        ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_MONOCHROME), 0);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        ASSERT_EQ(bitmap.width, static_cast<unsigned>(GlyphWidth)) << "byte " << byte;
        ASSERT_EQ(bitmap.rows, static_cast<unsigned>(GlyphHeight)) << "byte " << byte;
        for (int row = 0; row < GlyphHeight; ++row) {
            EXPECT_EQ(bitmap.buffer[row * bitmap.pitch], Cp437Glyphs[byte][row])
                << "byte " << byte << ", row " << row;
        }
    }
}

} // namespace
} // namespace omra::tools
