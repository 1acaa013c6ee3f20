#include "render/scroller.h"

#include <gtest/gtest.h>

namespace omra {
namespace {

constexpr int Width = 960;
constexpr GlyphSheetMetrics Sheet{32, 32, 16, 18, 512, 512};

// Each glyph is six vertices of four floats.
constexpr std::size_t FloatsPerGlyph = 24;

struct Quad {
    float left, right, top, bottom, uLeft, uRight, vTop, vBottom;
};

Quad boundsOf(const std::vector<float>& vertices, std::size_t glyph) {
    Quad quad{1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, 1e9f, -1e9f};
    for (std::size_t v = 0; v < 6; ++v) {
        const float* p = &vertices[glyph * FloatsPerGlyph + v * 4];
        quad.left = std::min(quad.left, p[0]);
        quad.right = std::max(quad.right, p[0]);
        quad.bottom = std::min(quad.bottom, p[1]);
        quad.top = std::max(quad.top, p[1]);
        quad.uLeft = std::min(quad.uLeft, p[2]);
        quad.uRight = std::max(quad.uRight, p[2]);
        quad.vTop = std::min(quad.vTop, p[3]);
        quad.vBottom = std::max(quad.vBottom, p[3]);
    }
    return quad;
}

TEST(Scroller, MovesLeftAt120PixelsPerSecond) {
    GlyphPosition position{};
    ASSERT_TRUE(scrollerGlyphPosition(0, 100, 2.0f, Width, position));
    EXPECT_EQ(position.x, Width - 240);
}

TEST(Scroller, OnlyCharactersWithinTheSpriteRangeAreDrawn) {
    // At t = 0 character i stands at x = W + 16i: only 0 and 1 are at most W + 16.
    GlyphPosition position{};
    EXPECT_TRUE(scrollerGlyphPosition(1, 100, 0.0f, Width, position));
    EXPECT_EQ(position.x, Width + 16);
    EXPECT_FALSE(scrollerGlyphPosition(2, 100, 0.0f, Width, position));
    // Far enough on, character 0 has passed the left edge while later ones are visible.
    EXPECT_FALSE(scrollerGlyphPosition(0, 100, 9.0f, Width, position));
    EXPECT_TRUE(scrollerGlyphPosition(10, 100, 9.0f, Width, position));
    EXPECT_EQ(position.x, 40);
}

TEST(Scroller, TheWaveStaysWithin40PixelsOfItsMiddle) {
    int lowest = 1000, highest = -1000;
    for (int step = 0; step < 2000; ++step) {
        const float t = static_cast<float>(step) * 0.013f;
        for (std::size_t i = 0; i < 100; ++i) {
            GlyphPosition position{};
            if (scrollerGlyphPosition(i, 100, t, Width, position)) {
                lowest = std::min(lowest, position.y);
                highest = std::max(highest, position.y);
            }
        }
    }
    EXPECT_GE(lowest, 40);
    EXPECT_LE(highest, 120);
    EXPECT_LT(lowest, 45) << "the wave reaches its trough";
    EXPECT_GT(highest, 115) << "the wave reaches its crest";
}

TEST(Scroller, AGlyphHangsFromItsPositionAndShowsItsCellsTopLeftCorner) {
    std::vector<float> vertices;
    appendGlyphQuad(vertices, 'A', {100, 90}, Sheet); // code 65: column 1, row 4
    ASSERT_EQ(vertices.size(), FloatsPerGlyph);
    const Quad quad = boundsOf(vertices, 0);
    EXPECT_EQ(quad.left, 100);
    EXPECT_EQ(quad.right, 116);
    EXPECT_EQ(quad.top, 90);
    EXPECT_EQ(quad.bottom, 72);
    EXPECT_FLOAT_EQ(quad.uLeft, 32.0f / 512);
    EXPECT_FLOAT_EQ(quad.uRight, 48.0f / 512);
    EXPECT_FLOAT_EQ(quad.vTop, 128.0f / 512);
    EXPECT_FLOAT_EQ(quad.vBottom, 146.0f / 512);
    // Upright: the vertex at the top edge samples the top of the glyph.
    EXPECT_EQ(vertices[1], 90);
    EXPECT_FLOAT_EQ(vertices[3], 128.0f / 512);
}

} // namespace
} // namespace omra
