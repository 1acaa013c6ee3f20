#include "core/gl_function_table.h"
#include "render/texture2d.h"
#include "support/headless_gl_test.h"
#include "tga/tga.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra {
namespace {

using Texture2DTest = headless::HeadlessGlTest;

// An uncompressed TGA as the pack holds one: the logo's 24 bits, or the glyph sheet's 32 bits
// with the footer.
std::vector<std::uint8_t> tgaFile(int width, int height, int bits) {
    const auto bytes = static_cast<std::size_t>(width) * height * (bits / 8);
    return tools::encodeTga({width, height, bits, std::vector<std::uint8_t>(bytes, 0x80)},
                            bits == 32);
}

std::string loadFailure(std::span<const std::uint8_t> bytes, Texture2D& texture) {
    try {
        texture.LoadTGA(bytes);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST_F(Texture2DTest, TheLogoLoadsAsAnRgbImageAndTheUnpackAlignmentComesBack) {
    for (const GLint alignment : {4, 8}) {
        gl.PixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        Texture2D logo;
        logo.LoadTGA(tgaFile(425, 81, 24));
        EXPECT_EQ(logo.width, 425);
        EXPECT_EQ(logo.height, 81);
        EXPECT_EQ(headless::textureInternalFormat(logo.id), GL_RGB);
        EXPECT_EQ(headless::glInteger(GL_UNPACK_ALIGNMENT), alignment);
    }
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(Texture2DTest, TheGlyphSheetWithItsFooterLoadsAsRgbaAndStaysBound) {
    Texture2D sheet;
    sheet.LoadTGA(tgaFile(512, 512, 32));
    EXPECT_EQ(sheet.width, 512);
    EXPECT_EQ(sheet.height, 512);
    EXPECT_EQ(headless::textureInternalFormat(sheet.id), GL_RGBA);
    EXPECT_EQ(headless::glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sheet.id));
}

TEST_F(Texture2DTest, TheImagesTopRowIsUploadedFirst) {
    // A 2 × 2 image stored bottom row first: red, green below blue, white.
    const std::vector<std::uint8_t> file = {
        0,   0, 2,   0,   0,   0,  0, 0,  0,
        0,   0, 0,   2,   0,   2,  0, 24, 0, // header, origin bottom left
        0,   0, 255, 0,   255, 0,            // bottom row: red, green
        255, 0, 0,   255, 255, 255};         // top row: blue, white
    Texture2D texture;
    texture.LoadTGA(file);
    const headless::Image image = headless::readTexture(texture.id, 2, 2);
    const headless::Rgba first = image.pixels[0];
    const headless::Rgba last = image.pixels[3];
    EXPECT_EQ((std::array{first.r, first.g, first.b}), (std::array<std::uint8_t, 3>{0, 0, 255}));
    EXPECT_EQ((std::array{last.r, last.g, last.b}), (std::array<std::uint8_t, 3>{0, 255, 0}));
}

TEST_F(Texture2DTest, BytesThatAreNoImageAreRefusedAndLeaveTheSizeAtZero) {
    const std::vector<std::uint8_t> logo = tgaFile(425, 81, 24);
    const std::vector<std::uint8_t> truncated(logo.begin(), logo.begin() + logo.size() / 2);
    for (const auto& bytes : {truncated, std::vector<std::uint8_t>{}}) {
        Texture2D texture;
        EXPECT_EQ(loadFailure(bytes, texture), "Texture2D::LoadTGA()");
        EXPECT_EQ(texture.width, 0);
        EXPECT_EQ(texture.height, 0);
    }
}

} // namespace
} // namespace omra
