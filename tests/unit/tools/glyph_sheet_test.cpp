#include "art/glyph_sheet.h"
#include "common/files.h"
#include "decoded_image.h"
#include "support/content_baseline.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace omra::tools {
namespace {

const std::string DataDir = OMRA_DATA_DIR;
const std::string SheetFile = DataDir + "/font.tga";

DecodedImage decodedSheet(const std::vector<std::uint8_t>& file) {
    const std::optional<DecodedImage> sheet = decodeImage(file);
    if (!sheet) {
        ADD_FAILURE() << "the sheet does not decode";
        return {};
    }
    return *sheet;
}

// The sheet omra-art draws, drawn once; data/font.tga is this one while the content baseline
// says so.
const std::vector<std::uint8_t>& drawnSheetFile() {
    static const std::vector<std::uint8_t> file =
        encodeTga(drawGlyphSheet(OMRA_SCROLLER_FONT), true);
    return file;
}

// The pixels of one glyph area, row by row from the top, as their red, green and blue.
std::vector<std::uint8_t> glyphPixels(const DecodedImage& sheet, int code) {
    std::vector<std::uint8_t> pixels;
    const int left = code % 16 * CellSize, top = code / 16 * CellSize;
    for (int y = top; y < top + GlyphHeight; ++y) {
        for (int x = left; x < left + GlyphWidth; ++x) {
            pixels.insert(pixels.end(), sheet.at(x, y), sheet.at(x, y) + 3);
        }
    }
    return pixels;
}

bool hasInk(const DecodedImage& sheet, int code) {
    for (const std::uint8_t channel : glyphPixels(sheet, code)) {
        if (channel != 0) {
            return true;
        }
    }
    return false;
}

// The mean row of the glyph's ink, from the top of its area.
double inkRow(const DecodedImage& sheet, int code) {
    double rows = 0, count = 0;
    const int left = code % 16 * CellSize, top = code / 16 * CellSize;
    for (int y = 0; y < GlyphHeight; ++y) {
        for (int x = 0; x < GlyphWidth; ++x) {
            if (!sheet.isKeyBlack(left + x, top + y)) {
                rows += y, ++count;
            }
        }
    }
    return rows / count;
}

TEST(GlyphSheet, TheCommittedSheetIsExactlyWhatTheGeneratorDraws) {
    if (testing::contentBaseline().generated.count("font.tga") == 0) {
        GTEST_SKIP() << "data/font.tga is not omra-art's, as tests/golden/content.txt records";
    }
    EXPECT_EQ(readFile(SheetFile), drawnSheetFile());
}

TEST(GlyphSheet, DecodesAs512By512WithFourChannelsAndTheFooter) {
    const std::vector<std::uint8_t>& file = drawnSheetFile();
    const DecodedImage sheet = decodedSheet(file);
    EXPECT_EQ(sheet.width, SheetSize);
    EXPECT_EQ(sheet.height, SheetSize);
    EXPECT_EQ(sheet.channels, 4);
    ASSERT_GT(file.size(), 26u);
    EXPECT_EQ(std::string(file.end() - 18, file.end()), std::string("TRUEVISION-XFILE.\0", 18));
    EXPECT_EQ(file.size(), 18u + SheetSize * SheetSize * 4u + 26u);
}

TEST(GlyphSheet, EveryPrintableCharacterHasItsOwnGlyph) {
    const DecodedImage sheet = decodedSheet(drawnSheetFile());
    ASSERT_EQ(sheet.width, SheetSize);
    EXPECT_FALSE(hasInk(sheet, ' '));
    std::set<std::vector<std::uint8_t>> seen;
    for (int code = '!'; code <= '~'; ++code) {
        EXPECT_TRUE(hasInk(sheet, code)) << "code " << code;
        EXPECT_TRUE(seen.insert(glyphPixels(sheet, code)).second) << "code " << code;
    }
}

TEST(GlyphSheet, EveryScrollerCharacterHasInkInItsCell) {
    const DecodedImage sheet = decodedSheet(readFile(SheetFile));
    ASSERT_EQ(sheet.width, SheetSize);
    const std::vector<std::uint8_t> text = readFile(DataDir + "/scroller.txt");
    for (const std::uint8_t c : text) {
        if (c != ' ' && c != '\n') {
            EXPECT_TRUE(hasInk(sheet, c)) << "'" << static_cast<char>(c) << "'";
        }
    }
}

TEST(GlyphSheet, NothingIsDrawnOutsideTheGlyphAreas) {
    // The scroller samples only each cell's top-left 16 x 18 pixels, with linear filtering:
    // anything else would bleed into the glyphs' edges.
    const DecodedImage sheet = decodedSheet(drawnSheetFile());
    ASSERT_EQ(sheet.width, SheetSize);
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) {
            if (x % CellSize >= GlyphWidth || y % CellSize >= GlyphHeight) {
                ASSERT_TRUE(sheet.isKeyBlack(x, y)) << "pixel " << x << ", " << y;
            }
        }
    }
}

TEST(GlyphSheet, GlyphsStandUpright) {
    const DecodedImage sheet = decodedSheet(drawnSheetFile());
    ASSERT_EQ(sheet.width, SheetSize);
    EXPECT_LT(inkRow(sheet, '^'), inkRow(sheet, '_'));
    EXPECT_LT(inkRow(sheet, '\''), inkRow(sheet, ','));
}

} // namespace
} // namespace omra::tools
