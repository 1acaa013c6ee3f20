#include "core/frame_state.h"
#include "core/gl_function_table.h"
#include "render/star_field.h"
#include "support/headless_gl_test.h"
#include "support/scene_under_test.h"
#include "support/synthetic_assets.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

// What a frame shows, read back from the headless window and the off-screen image at chosen
// scene times. The scene is set up once, from synthetic assets that are easy to find.
namespace omra {
namespace {

using headless::Image;
using headless::Rgba;
using headless::windowHeight;
using headless::windowWidth;

class Frame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        synthetic_assets::install();
        headless::setUpSceneOnce();
    }
};

// The colour most pixels of a row have: the background, whatever else lies on the row.
Rgba mostCommonInRow(const Image& image, int y) {
    std::map<std::tuple<int, int, int>, int> counts;
    for (int x = 0; x < image.width; ++x) {
        const Rgba& p = image.at(x, y);
        ++counts[{p.r, p.g, p.b}];
    }
    const auto best = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    const auto [r, g, b] = best->first;
    return Rgba{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                static_cast<std::uint8_t>(b), 255};
}

bool isWhite(const Rgba& p) {
    return p.r == 255 && p.g == 255 && p.b == 255;
}

// A pixel of the synthetic glyph sheet's block for `code`.
bool isGlyph(const Rgba& p, int code) {
    return p.r >= 200 && std::abs(p.b - synthetic_assets::glyphBlue) <= 8 &&
           std::abs(p.g - code) <= 8;
}

bool isAnyGlyph(const Rgba& p) {
    return p.r >= 200 && std::abs(p.b - synthetic_assets::glyphBlue) <= 8 && p.g < 140;
}

struct Extent {
    int left = 1 << 20, right = -1, bottom = 1 << 20, top = -1;
    bool empty() const { return right < 0; }
};

Extent extentOf(const Image& image, int firstColumn, int lastColumn, auto matches) {
    Extent extent;
    for (int y = 0; y < image.height; ++y) {
        for (int x = firstColumn; x <= lastColumn; ++x) {
            if (matches(image.at(x, y))) {
                extent = {std::min(extent.left, x), std::max(extent.right, x),
                          std::min(extent.bottom, y), std::max(extent.top, y)};
            }
        }
    }
    return extent;
}

TEST_F(Frame, SetUpTakesTheWindowSizeFromTheViewport) {
    EXPECT_EQ(frameState.viewportWidth, windowWidth());
    EXPECT_EQ(frameState.viewportHeight, windowHeight());
}

TEST_F(Frame, TheGradientRunsFromThreeQuartersOfDarkPurpleAtTheBottomToBlackAtTheTop) {
    headless::renderWindowAt(0.0f);
    const Image offscreen = headless::offscreenImage();
    // Three quarters of 0.25 at the bottom row's centre, half a row above the edge.
    const double bottom = 0.1875 * (1.0 - 0.5 / windowHeight()) * 255.0;
    const Rgba first = mostCommonInRow(offscreen, 0);
    EXPECT_NEAR(first.r, bottom, 1.0);
    EXPECT_NEAR(first.b, bottom, 1.0);
    EXPECT_EQ(first.g, 0);
    const Rgba last = mostCommonInRow(offscreen, windowHeight() - 1);
    EXPECT_LE(last.r, 1);
    EXPECT_LE(last.b, 1);
    const Rgba middle = mostCommonInRow(offscreen, windowHeight() / 2);
    EXPECT_NEAR(middle.r, bottom / 2, 1.0);
}

TEST_F(Frame, ScanLinesHalveEvenWindowRowsAndKeepOddOnes) {
    const Image window = headless::renderWindowAt(0.0f);
    const Image offscreen = headless::offscreenImage();
    // Left of the logo, above the bottom bar and below the top one.
    for (int y = 4; y < 440; ++y) {
        for (int x = 0; x < 240; x += 7) {
            const Rgba& source = offscreen.at(x, y);
            const Rgba& shown = window.at(x, y);
            const double factor = y % 2 == 0 ? 0.5 : 1.0;
            ASSERT_NEAR(shown.r, source.r * factor, 1.0) << x << "," << y;
            ASSERT_NEAR(shown.g, source.g * factor, 1.0) << x << "," << y;
            ASSERT_NEAR(shown.b, source.b * factor, 1.0) << x << "," << y;
        }
    }
}

TEST_F(Frame, StarsDriftRightAtHalfTheirSizePerSecondAndWrapAround) {
    const float t = 3.0f;
    headless::renderWindowAt(t);
    const Image offscreen = headless::offscreenImage();
    int checked = 0, wrapped = 0;
    for (const Star& star : generateStars()) {
        const float travelled = star.x + star.z * 0.5f * t;
        const float x = travelled - 2.4f * std::floor(travelled / 2.4f) - 1.0f;
        // Clear of the three objects, which are drawn over the stars, and inside the window:
        // stars between 1 and 1.4 are out of sight until they wrap.
        if (std::fabs(x) < 0.62f || x >= 0.995f) {
            continue;
        }
        const int px = static_cast<int>((x + 1.0f) / 2.0f * windowWidth());
        const int py = static_cast<int>((star.y + 1.0f) / 2.0f * windowHeight());
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int sx = std::clamp(px + dx, 0, windowWidth() - 1);
                const int sy = std::clamp(py + dy, 0, windowHeight() - 1);
                const Rgba& p = offscreen.at(sx, sy);
                found = found || (p.r == 128 && p.g == 128 && p.b == 204);
            }
        }
        EXPECT_TRUE(found) << "star at start x " << star.x << " expected near " << px << "," << py;
        ++checked;
        wrapped += travelled >= 1.2f;
    }
    EXPECT_GE(checked, 20);
    EXPECT_GE(wrapped, 5);
}

TEST_F(Frame, TheLogoHangsA56thBelowTheTopSixteenPixelsLeftOfCentreWithBlackKeyedOut) {
    const Image window = headless::renderWindowAt(0.0f);
    const int left = (windowWidth() - 425) / 2 - 16;
    // The first window row above the logo: the first whose centre lies past its top edge.
    const float topEdge = static_cast<float>(windowHeight()) - windowHeight() / 56.0f;
    const int top = static_cast<int>(std::ceil(topEdge - 0.5f));
    const int middleRow = top - 40;
    EXPECT_FALSE(isWhite(window.at(left - 1, middleRow)));
    EXPECT_TRUE(isWhite(window.at(left, middleRow)));
    EXPECT_TRUE(isWhite(window.at(left + 424, middleRow)));
    EXPECT_FALSE(isWhite(window.at(left + 425, middleRow)));
    EXPECT_TRUE(isWhite(window.at(left + 100, top - 1)));
    EXPECT_FALSE(isWhite(window.at(left + 100, top)));
    EXPECT_TRUE(isWhite(window.at(left + 100, top - 81)));
    EXPECT_FALSE(isWhite(window.at(left + 100, top - 82)));
    // The black hole in the image is keyed out: it shows the scan-lined scene behind it, which
    // is dark up here but not black.
    const Image offscreen = headless::offscreenImage();
    using synthetic_assets::HoleHeight, synthetic_assets::HoleLeft, synthetic_assets::HoleTop,
        synthetic_assets::HoleWidth;
    for (int y = top - HoleTop - HoleHeight + 1; y < top - HoleTop - 1; ++y) {
        for (int x = left + HoleLeft + 1; x < left + HoleLeft + HoleWidth - 1; ++x) {
            const double factor = y % 2 == 0 ? 0.5 : 1.0;
            ASSERT_NEAR(window.at(x, y).r, offscreen.at(x, y).r * factor, 1.0) << x << "," << y;
            ASSERT_GE(offscreen.at(x, y).r, 3) << x << "," << y;
        }
    }
}

TEST_F(Frame, TheScrollersFirstCharacterStartsAtTheRightEdgeAndComesBackThere) {
    const int period = 16 * static_cast<int>(synthetic_assets::scrollerText.size()) + windowWidth();
    for (const float t : {0.0f, (static_cast<float>(period) + 0.5f) / 120.0f}) {
        const Image window = headless::renderWindowAt(t);
        const Extent a =
            extentOf(window, 0, windowWidth() - 1, [](const Rgba& p) { return isGlyph(p, 'A'); });
        ASSERT_FALSE(a.empty()) << t;
        // Sprite x = W is window x = W - 16: the glyph fills the last 16 columns.
        EXPECT_EQ(a.left, windowWidth() - 16) << t;
        EXPECT_EQ(a.right, windowWidth() - 1) << t;
        EXPECT_EQ(a.top - a.bottom + 1, 18) << t;
        EXPECT_GE(a.bottom, 40 - 18) << t;
        EXPECT_LE(a.top, 120) << t;
        const Extent others = extentOf(window, 0, windowWidth() - 17, isAnyGlyph);
        EXPECT_TRUE(others.empty()) << "nothing of the scroller further left at t = " << t;
    }
}

TEST_F(Frame, ScrollerBlanksAndLineFeedsLeaveGapsAndControlCodesShowTheirGlyph) {
    // At t = 2 the line has moved 240 pixels: character i fills 16 window columns from
    // W - 256 + 16i on (sprite x = window x + 16).
    const Image window = headless::renderWindowAt(2.0f);
    const auto slotLeft = [](int i) { return windowWidth() - 256 + 16 * i; };
    const auto slot = [&](int i) {
        const int left = slotLeft(i);
        return extentOf(window, left, left + 15, isAnyGlyph);
    };
    const std::string& text = synthetic_assets::scrollerText;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        const auto code = static_cast<std::uint8_t>(text[i]);
        const Extent extent = slot(i);
        if (code == ' ' || code == '\n') {
            EXPECT_TRUE(extent.empty()) << "slot " << i;
            continue;
        }
        ASSERT_FALSE(extent.empty()) << "slot " << i;
        const int left = slotLeft(i);
        const Extent own =
            extentOf(window, left, left + 15, [code](const Rgba& p) { return isGlyph(p, code); });
        EXPECT_EQ(own.left, left) << "slot " << i;
        EXPECT_EQ(own.right, left + 15) << "slot " << i;
    }
}

TEST_F(Frame, BarsFillTheTopAndBottom160thWithWavesRunningInOppositeDirections) {
    const float t = 1.0f;
    const Image window = headless::renderWindowAt(t);
    for (const int x : {10, 300, 555, 950}) {
        const float u = 2.0f * (static_cast<float>(x) + 0.5f) / windowWidth() - 1.0f;
        for (const auto& [row, direction] :
             {std::pair{0, -1.0f}, std::pair{2, -1.0f}, std::pair{windowHeight() - 3, 1.0f},
              std::pair{windowHeight() - 1, 1.0f}}) {
            const Rgba& p = window.at(x, row);
            EXPECT_NEAR(p.r, 127.5, 1.0) << x << "," << row;
            EXPECT_NEAR(p.b, 127.5, 1.0) << x << "," << row;
            EXPECT_NEAR(p.g, 127.5 * std::fabs(std::sin(direction * t + u)), 1.5)
                << x << "," << row;
        }
        EXPECT_LT(window.at(x, 3).r, 100) << "row 3 is above the bottom bar";
        EXPECT_LT(window.at(x, windowHeight() - 4).r, 100) << "the top bar's first row is H - 3";
    }
}

// Where the centre of instance 0 (phase 0) lands in the window, for a ring angle a and a height.
std::pair<int, int> instanceZeroCentre(float angle, float height) {
    const double x = std::cos(angle) / 3.0;
    const double z = -1.5 - std::sin(angle) / 3.0;
    const double focal = 1.0 / std::tan(0.78539824 / 2.0);
    const double aspect = static_cast<double>(windowWidth()) / windowHeight();
    const double ndcX = focal / aspect * x / -z;
    const double ndcY = focal * height / -z;
    return {static_cast<int>((ndcX + 1.0) / 2.0 * windowWidth()),
            static_cast<int>((ndcY + 1.0) / 2.0 * windowHeight())};
}

TEST_F(Frame, TheFirstObjectStandsWhereItsRingAngleAndBounceHeightPutIt) {
    struct Case {
        float t, angle, height;
    };
    // At t = 0: angle 0, lowest point. At t = pi/3: a quarter turn on, at the top of its bounce.
    for (const Case c : {Case{0.0f, 0.0f, -0.5f}, Case{1.0471976f, 1.5707964f, 0.25f}}) {
        headless::renderWindowAt(c.t);
        const Image offscreen = headless::offscreenImage();
        const auto [x, y] = instanceZeroCentre(c.angle, c.height);
        const Rgba background = mostCommonInRow(offscreen, y);
        const Rgba& centre = offscreen.at(x, y);
        const int difference = std::abs(centre.r - background.r) +
                               std::abs(centre.g - background.g) +
                               std::abs(centre.b - background.b);
        EXPECT_GT(difference, 30) << "t = " << c.t << " at " << x << "," << y;
    }
    // Right of the ring and above instance 0's reach at t = 0 only the background shows.
    headless::renderWindowAt(0.0f);
    const Image offscreen = headless::offscreenImage();
    for (const int y : {250, 300, 350}) {
        const Rgba background = mostCommonInRow(offscreen, y);
        const Rgba& p = offscreen.at(800, y);
        EXPECT_EQ(std::tie(p.r, p.g, p.b), std::tie(background.r, background.g, background.b));
    }
}

// Where a point of the text sheet, given in window pixels, is seen at scene time t: the sheet
// ripples in depth about 1.6 units before the 45-degree camera.
std::pair<double, double> sheetPointInWindow(double x, double y, double t) {
    const double vx = 2.0 * x / windowWidth() - 1.0;
    const double vy = 2.0 * y / windowHeight() - 1.0;
    const double depth = 1.6 - std::sin(2.0 * t + vx + 2.0 * vy) / 6.0;
    const double focal = 1.0 / std::tan(0.78539824 / 2.0);
    const double aspect = static_cast<double>(windowWidth()) / windowHeight();
    return {(focal / aspect * vx / depth + 1.0) / 2.0 * windowWidth(),
            (focal * vy / depth + 1.0) / 2.0 * windowHeight()};
}

// A page of full blocks with a gap, shown in place of the assets' page.
class TextPageFrame : public Frame {
protected:
    void SetUp() override {
        page.text = "\xDB \xDB\n\xDB\xDB\xDB";
        page.width = 3;
        page.lines = 2;
        shownPage = frameState.currentPage;
        frameState.currentPage = &page;
    }
    void TearDown() override { frameState.currentPage = shownPage; }

    TextPage page;
    const TextPage* shownPage = nullptr;
};

TEST_F(TextPageFrame, APageHeldInTheCentreShowsEachGlyphWhereTheRipplingSheetPutsIt) {
    const float t = 7.0f;
    const int left = (windowWidth() - 24) / 2;
    const int top = windowHeight() - (windowHeight() - 16) / 2;
    const Image window = headless::renderWindowAt(t, left);
    // Cells of the 3 x 2 page and one beyond each side; blocks only where the text has them.
    const char* const lines[] = {"# #", "###"};
    for (int line = -1; line <= 2; ++line) {
        for (int column = -1; column <= 3; ++column) {
            const bool block =
                line >= 0 && line < 2 && column >= 0 && column < 3 && lines[line][column] == '#';
            const double centreX = left + 8 * column + 4;
            const double centreY = top - 12 * line + 6;
            const auto [x, y] = sheetPointInWindow(centreX, centreY, t);
            const Rgba& p = window.at(static_cast<int>(x), static_cast<int>(y));
            EXPECT_EQ(isWhite(p), block)
                << "line " << line << ", column " << column << " at " << x << "," << y;
        }
    }
    // The blocks join up along the second line, and the page's edges lie where the formulas
    // put them: white 1.5 sheet pixels inside each, not white 1.5 pixels outside.
    const auto whiteAt = [&](double sheetX, double sheetY) {
        const auto [x, y] = sheetPointInWindow(sheetX, sheetY, t);
        return isWhite(window.at(static_cast<int>(x), static_cast<int>(y)));
    };
    for (double along = 1.5; along <= 22.5; along += 1.0) {
        EXPECT_TRUE(whiteAt(left + along, top - 6)) << along;
    }
    const double middleY = top - 6;
    const double middleX = left + 4;
    EXPECT_TRUE(whiteAt(left + 1.5, middleY));
    EXPECT_FALSE(whiteAt(left - 1.5, middleY));
    EXPECT_TRUE(whiteAt(left + 22.5, middleY));
    EXPECT_FALSE(whiteAt(left + 25.5, middleY));
    EXPECT_TRUE(whiteAt(middleX, top + 10.5)) << "the first line's top edge";
    EXPECT_FALSE(whiteAt(middleX, top + 13.5)) << "the first line's top edge";
    EXPECT_TRUE(whiteAt(middleX, top - 10.5)) << "the second line's bottom edge";
    EXPECT_FALSE(whiteAt(middleX, top - 13.5)) << "the second line's bottom edge";
}

TEST_F(TextPageFrame, AtTheStartOfItsSlideNothingOfThePageIsVisible) {
    const float t = 3.0f;
    const Image entering = headless::renderWindowAt(t, windowWidth() + 256);
    frameState.currentPage = nullptr;
    const Image without = headless::renderWindowAt(t, windowWidth() + 256);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < entering.pixels.size(); ++i) {
        const Rgba& a = entering.pixels[i];
        const Rgba& b = without.pixels[i];
        differing += std::tie(a.r, a.g, a.b) != std::tie(b.r, b.g, b.b);
    }
    EXPECT_EQ(differing, 0u);
}

TEST_F(Frame, LeavesTheWindowBoundWithBlendingDepthTestAndPointSizesOff) {
    headless::renderWindowAt(0.5f);
    EXPECT_EQ(headless::glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(headless::glInteger(GL_BLEND), GL_FALSE);
    EXPECT_EQ(headless::glInteger(GL_DEPTH_TEST), GL_FALSE);
    EXPECT_EQ(headless::glInteger(GL_PROGRAM_POINT_SIZE), GL_FALSE);
    EXPECT_EQ(headless::glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(headless::glInteger(GL_DEPTH_FUNC), GL_LEQUAL);
}

} // namespace
} // namespace omra
