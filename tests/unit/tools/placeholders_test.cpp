#include "common/files.h"
#include "placeholders/placeholder_images.h"
#include "placeholders/placeholder_tune.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <algorithm>
#include <gtest/gtest.h>
#include <stb/stb_image.h>

namespace omra::tools {
namespace {

const std::string DataDir = OMRA_DATA_DIR;

struct Decoded {
    int width = 0, height = 0, channels = 0;
    bool ok = false;
};

Decoded decode(const std::vector<std::uint8_t>& file) {
    Decoded image;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()),
                                            &image.width, &image.height, &image.channels, 0);
    image.ok = pixels != nullptr;
    stbi_image_free(pixels);
    return image;
}

TEST(PlaceholderAssets, TheCommittedFilesAreExactlyWhatTheGeneratorWrites) {
    EXPECT_EQ(readFile(DataDir + "/logo.tga"), encodeTga(placeholderLogo(), false));
    EXPECT_EQ(readFile(DataDir + "/font.tga"), encodeTga(placeholderFontSheet(), true));
    EXPECT_EQ(readFile(DataDir + "/module.xm"), writeXm(placeholderTune()));
}

TEST(PlaceholderAssets, ImagesDecodeWithTheSizesTheSceneExpects) {
    const Decoded logo = decode(readFile(DataDir + "/logo.tga"));
    ASSERT_TRUE(logo.ok);
    EXPECT_EQ(logo.width, 425);
    EXPECT_EQ(logo.height, 81);
    EXPECT_EQ(logo.channels, 3);

    const std::vector<std::uint8_t> fontFile = readFile(DataDir + "/font.tga");
    const Decoded font = decode(fontFile);
    ASSERT_TRUE(font.ok);
    EXPECT_EQ(font.width, 512);
    EXPECT_EQ(font.height, 512);
    EXPECT_EQ(font.channels, 4);
    const std::string footer(fontFile.end() - 18, fontFile.end());
    EXPECT_EQ(footer, std::string("TRUEVISION-XFILE.\0", 18));
    EXPECT_EQ(fontFile.size(), 18u + 512u * 512u * 4u + 26u);
}

TEST(PlaceholderAssets, TheLogoIsInkClearOfTheBlackKey) {
    // Black is the logo's transparent key: a pixel is either background black or ink well away
    // from it, and the letters cover a fair part of the image.
    const TgaImage logo = placeholderLogo();
    int inked = 0;
    for (std::size_t i = 0; i < logo.pixels.size(); i += 3) {
        const int brightest = std::max({logo.pixels[i], logo.pixels[i + 1], logo.pixels[i + 2]});
        if (brightest != 0) {
            EXPECT_GE(brightest, 64) << "pixel " << i / 3;
            ++inked;
        }
    }
    EXPECT_GT(inked, 425 * 81 / 8);
}

} // namespace
} // namespace omra::tools
