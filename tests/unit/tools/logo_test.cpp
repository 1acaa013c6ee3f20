#include "art/logo.h"
#include "common/files.h"
#include "decoded_image.h"
#include "support/content_baseline.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace omra::tools {
namespace {

const std::string LogoFile = std::string(OMRA_DATA_DIR) + "/logo.tga";

// The logo omra-art draws, as the intro decodes it; data/logo.tga is this one while the
// content baseline says so.
DecodedImage drawnLogo() {
    const std::optional<DecodedImage> logo = decodeImage(encodeTga(drawLogo(), false));
    if (!logo) {
        ADD_FAILURE() << "the drawn logo does not decode";
        return {};
    }
    return *logo;
}

bool onInk(int x, int y) {
    return logoInkDistance(x + 0.5, y + 0.5) < 0;
}

// A 4-connected area of pure black: its bounding box, and whether it reaches the image's edge.
struct BlackRegion {
    int left, right, top, bottom;
    bool touchesEdge;
};

BlackRegion floodBlack(const DecodedImage& image, int startX, int startY,
                       std::vector<bool>& visited) {
    auto index = [&](int x, int y) { return static_cast<std::size_t>(y) * image.width + x; };
    BlackRegion region{startX, startX, startY, startY, false};
    std::vector<std::pair<int, int>> pending{{startX, startY}};
    visited[index(startX, startY)] = true;
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        region.left = std::min(region.left, x), region.right = std::max(region.right, x);
        region.top = std::min(region.top, y), region.bottom = std::max(region.bottom, y);
        region.touchesEdge |= x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < image.width && ny < image.height &&
                image.isKeyBlack(nx, ny) && !visited[index(nx, ny)]) {
                visited[index(nx, ny)] = true;
                pending.emplace_back(nx, ny);
            }
        }
    }
    return region;
}

std::vector<BlackRegion> blackRegions(const DecodedImage& image) {
    std::vector<bool> visited(static_cast<std::size_t>(image.width) * image.height);
    std::vector<BlackRegion> regions;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.isKeyBlack(x, y) && !visited[static_cast<std::size_t>(y) * image.width + x]) {
                regions.push_back(floodBlack(image, x, y, visited));
            }
        }
    }
    return regions;
}

TEST(Logo, TheCommittedLogoIsExactlyWhatTheGeneratorDraws) {
    if (testing::contentBaseline().generated.count("logo.tga") == 0) {
        GTEST_SKIP() << "data/logo.tga is not omra-art's, as tests/golden/content.txt records";
    }
    EXPECT_EQ(readFile(LogoFile), encodeTga(drawLogo(), false));
}

TEST(Logo, DecodesAs425By81WithThreeChannels) {
    const DecodedImage logo = drawnLogo();
    EXPECT_EQ(logo.width, LogoWidth);
    EXPECT_EQ(logo.height, LogoHeight);
    EXPECT_EQ(logo.channels, 3);
}

TEST(Logo, IsFramedByPureBlack) {
    const DecodedImage logo = drawnLogo();
    ASSERT_EQ(logo.width, LogoWidth);
    constexpr int Frame = 2;
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            const bool inFrame =
                x < Frame || y < Frame || x >= logo.width - Frame || y >= logo.height - Frame;
            if (inFrame) {
                EXPECT_TRUE(logo.isKeyBlack(x, y)) << "pixel " << x << ", " << y;
            }
        }
    }
}

TEST(Logo, NoLetterPixelIsTheTransparentBlack) {
    // Rows from the top in the decoded image and in the letters' geometry: a logo stored upside
    // down puts black on the ink here too.
    const DecodedImage logo = drawnLogo();
    ASSERT_EQ(logo.width, LogoWidth);
    int inkPixels = 0;
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            if (onInk(x, y)) {
                ++inkPixels;
                EXPECT_FALSE(logo.isKeyBlack(x, y)) << "pixel " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(inkPixels, LogoWidth * LogoHeight / 5);
}

TEST(Logo, BlackEnclosedByTheLettersIsOpeningsNotSpecks) {
    // Black that cannot reach the image's edge through black shows the scene through the logo:
    // the counters of O, R and A and narrow gaps between letters. Each must be an opening a few
    // pixels across each way, not a speck where the ink was left unpainted.
    const DecodedImage logo = drawnLogo();
    ASSERT_EQ(logo.width, LogoWidth);
    int openings = 0;
    for (const BlackRegion& region : blackRegions(logo)) {
        if (!region.touchesEdge) {
            ++openings;
            EXPECT_GE(region.right - region.left + 1, 3) << "speck at " << region.left;
            EXPECT_GE(region.bottom - region.top + 1, 3) << "speck at " << region.left;
        }
    }
    EXPECT_GE(openings, 3) << "the counters of O, R and A";
}

TEST(Logo, TheLettersAreShadedNotFlat) {
    const DecodedImage logo = drawnLogo();
    ASSERT_EQ(logo.width, LogoWidth);
    int darkest = 255 * 3, brightest = 0;
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            if (onInk(x, y)) {
                const std::uint8_t* pixel = logo.at(x, y);
                const int sum = pixel[0] + pixel[1] + pixel[2];
                darkest = std::min(darkest, sum);
                brightest = std::max(brightest, sum);
            }
        }
    }
    EXPECT_GT(brightest - darkest, 255);
}

} // namespace
} // namespace omra::tools
