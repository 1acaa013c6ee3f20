#include "core/gl_function_table.h"
#include "render/cp437_glyphs.h"
#include "render/glyph_atlas.h"
#include "render/text_page_layout.h"
#include "support/headless_gl_test.h"

#include <gtest/gtest.h>

// The Linux build's glyph atlas, drawn from the code-page-437 table in the layout the Windows
// build's GDI bitmap has, and as the text pages sample it once uploaded.
namespace omra {
namespace {

using GlyphAtlasTest = headless::HeadlessGlTest;

bool tableInk(int code, int column, int row) {
    return (Cp437Glyphs[code][row] >> (7 - column) & 1) != 0;
}

// A pixel of the stored image, counted from its top-left: rows are stored bottom row first.
const std::uint8_t* pixelFromTop(const std::uint8_t* image, int x, int y) {
    return image + (255 - y) * 768 + x * 3;
}

TEST(GlyphAtlas, EachCodeIsWhiteOnBlackInTheTopLeftOfItsCellCountedFromTheTop) {
    const GlyphAtlasPixels atlas = drawGlyphAtlas();
    for (int code = 0; code < 256; ++code) {
        const int left = code % 16 * 16;
        const int top = code / 16 * 16;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool ink = x < 8 && y < 12 && tableInk(code, x, y);
                const std::uint8_t* p = pixelFromTop(atlas.get(), left + x, top + y);
                for (int channel = 0; channel < 3; ++channel) {
                    ASSERT_EQ(p[channel], ink ? 255 : 0)
                        << "code " << code << " at " << x << "," << y << " channel " << channel;
                }
            }
        }
    }
    // The full block 0xDB: column 11, row 13 from the top, so stored rows 36 to 47 from the
    // bottom and columns 176 to 183 are white, and nothing around them.
    const std::uint8_t* base = atlas.get();
    EXPECT_EQ(base[36 * 768 + 176 * 3], 255);
    EXPECT_EQ(base[47 * 768 + 183 * 3], 255);
    EXPECT_EQ(base[35 * 768 + 176 * 3], 0);
    EXPECT_EQ(base[48 * 768 + 176 * 3], 0);
    EXPECT_EQ(base[40 * 768 + 184 * 3], 0);
    EXPECT_EQ(base[40 * 768 + 175 * 3], 0);
}

TEST_F(GlyphAtlasTest, UploadedAsRgbEachGlyphQuadSamplesItsCodesGlyphUpright) {
    const GlyphAtlasPixels pixels = drawGlyphAtlas();
    GLuint atlas = uploadGlyphAtlas(pixels.get());
    EXPECT_EQ(headless::textureInternalFormat(atlas), GL_RGB);
    // Texture rows count from v = 0, the image's bottom row.
    const headless::Image texture = headless::readTexture(atlas, 256, 256);
    for (int code = 0; code < 256; ++code) {
        const GlyphQuad quad = glyphQuad(static_cast<std::uint8_t>(code), 0.0f, 0.0f);
        const int left = static_cast<int>(quad[2] * 256.0f);
        const int right = static_cast<int>(quad[10] * 256.0f);
        const int bottom = static_cast<int>(quad[3] * 256.0f);
        const int top = static_cast<int>(quad[7] * 256.0f);
        ASSERT_EQ(right - left, 8);
        ASSERT_EQ(top - bottom, 12);
        for (int row = 0; row < 12; ++row) {
            for (int column = 0; column < 8; ++column) {
                const headless::Rgba& texel = texture.at(left + column, top - 1 - row);
                ASSERT_EQ(texel.r, tableInk(code, column, row) ? 255 : 0)
                    << "code " << code << " glyph row " << row << " column " << column;
            }
        }
    }
    gl.DeleteTextures(1, &atlas);
}

} // namespace
} // namespace omra
