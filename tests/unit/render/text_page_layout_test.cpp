#include "render/text_page_layout.h"

#include <gtest/gtest.h>
#include <vector>

// How a text page is measured and laid out glyph by glyph, in window pixels with y up.
namespace omra {
namespace {

TextPage measured(std::string text) {
    TextPage page{std::move(text)};
    measurePage(page);
    return page;
}

std::vector<GlyphQuad> quadsOf(std::string_view text, std::int32_t left, float top) {
    std::vector<GlyphQuad> quads;
    forEachPageGlyph(text, left, top, [&quads](const GlyphQuad& quad) { quads.push_back(quad); });
    return quads;
}

TEST(TextPageLayout, APageMeasuresItsLongestLineInBytesAndItsLineFeedsPlusOne) {
    struct Case {
        std::string text;
        std::int32_t width, lines;
    };
    for (const Case& c : {Case{"ab\ncde\nf", 3, 3}, Case{"ab\ncde\nf\n", 3, 4},
                          Case{"a\nabc", 3, 2}, Case{"abcd", 4, 1}, Case{"", 0, 1},
                          Case{"\n\n", 0, 3}, Case{"\xC9\xCD\xCD\xBB\n\xBA \t\xBA", 4, 2}}) {
        const TextPage page = measured(c.text);
        EXPECT_EQ(page.width, c.width) << '"' << c.text << '"';
        EXPECT_EQ(page.lines, c.lines) << '"' << c.text << '"';
    }
}

TEST(TextPageLayout, PagesAreCentredAtEightPixelsPerLineSoATrailingLineFeedRaisesThemFour) {
    // H - (H - 8L) / 2, truncated toward zero.
    EXPECT_EQ(pageTop(540, 3), 282.0f);
    EXPECT_EQ(pageTop(515, 3), 270.0f);
    EXPECT_EQ(pageTop(540, 80), 590.0f);
    const TextPage page = measured("ab\ncde\nf");
    const TextPage withLineFeed = measured("ab\ncde\nf\n");
    EXPECT_EQ(pageTop(540, withLineFeed.lines) - pageTop(540, page.lines), 4.0f);
}

TEST(TextPageLayout, AGlyphQuadCoversEightByTwelvePixelsAndExactlyItsCodesAtlasGlyph) {
    // 'A' (65) lies in column 1, row 4 of the atlas: u from 16/256, v from 1 - 64/256 down 12/256.
    const GlyphQuad a = glyphQuad('A', 100.0f, 300.0f);
    const GlyphQuad expected = {100, 300, 0.0625f,  0.703125f, 100, 312, 0.0625f,  0.75f,
                                108, 300, 0.09375f, 0.703125f, 108, 312, 0.09375f, 0.75f};
    EXPECT_EQ(a, expected);
    // Code 255: last column and row, the glyph at the atlas's bottom-right cell's top.
    const GlyphQuad last = glyphQuad(255, 0.0f, 0.0f);
    EXPECT_EQ(last[2], 240.0f / 256.0f);
    EXPECT_EQ(last[10], 248.0f / 256.0f);
    EXPECT_EQ(last[7], 16.0f / 256.0f);
    EXPECT_EQ(last[3], 4.0f / 256.0f);
    // Code 0: the top-left cell, up to v = 1.
    const GlyphQuad first = glyphQuad(0, 0.0f, 0.0f);
    EXPECT_EQ(first[2], 0.0f);
    EXPECT_EQ(first[7], 1.0f);
    EXPECT_EQ(first[3], 244.0f / 256.0f);
}

TEST(TextPageLayout, BlanksAdvanceLineFeedsStartTheNextLineAndControlCodesShowTheirGlyph) {
    // A blank, a tab and code 1 on the first line, a box corner on the second.
    const std::vector<GlyphQuad> quads = quadsOf("A \t\x01\n\xC0", 40, 200.0f);
    ASSERT_EQ(quads.size(), 4u);
    const struct {
        std::uint8_t code;
        float x, y;
    } expected[] = {{'A', 40, 200}, {'\t', 56, 200}, {1, 64, 200}, {0xC0, 40, 188}};
    for (std::size_t i = 0; i < quads.size(); ++i) {
        EXPECT_EQ(quads[i], glyphQuad(expected[i].code, expected[i].x, expected[i].y))
            << "glyph " << i;
    }
    // Only blanks and line feeds: nothing to draw.
    EXPECT_TRUE(quadsOf("  \n \n", 0, 0.0f).empty());
    // Negative offsets (a page sliding out at the left) are kept as they are.
    EXPECT_EQ(quadsOf("x", -576, 10.0f).front()[0], -576.0f);
}

} // namespace
} // namespace omra
