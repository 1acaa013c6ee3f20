#include "pack/cp437.h"

#include <array>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra::tools {
namespace {

std::string rejectionOf(const std::string& utf8) {
    try {
        utf8ToCp437(utf8, "page.txt");
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "accepted";
}

TEST(Cp437, ConvertsBoxDrawingShadesAndBlocksToTheirBytes) {
    EXPECT_EQ(utf8ToCp437("╔═╗\n║░║\n╚▀╝", "p"), "\xC9\xCD\xBB\n\xBA\xB0\xBA\n\xC8\xDF\xBC");
    EXPECT_EQ(utf8ToCp437("│┐└─┘┌█▄▌▐▒▓", "p"), "\xB3\xBF\xC0\xC4\xD9\xDA\xDB\xDC\xDD\xDE\xB1\xB2");
}

TEST(Cp437, KeepsPlainAsciiAndMapsTheSymbolsOfTheControlRange) {
    EXPECT_EQ(utf8ToCp437("Omra 1.0 ~!", "p"), "Omra 1.0 ~!");
    EXPECT_EQ(utf8ToCp437("☺♫▼⌂", "p"), "\x01\x0E\x1F\x7F");
    // The symbols that share bytes with tab, line feed and carriage return are refused.
    EXPECT_NE(rejectionOf("○"), "accepted");
    EXPECT_NE(rejectionOf("◙"), "accepted");
    EXPECT_NE(rejectionOf("♪"), "accepted");
}

TEST(Cp437, EachByteComesFromExactlyOneCharacter) {
    std::array<int, 256> producers{};
    for (char32_t codePoint = 0; codePoint < 0x10000; ++codePoint) {
        if (const auto byte = cp437ByteFor(codePoint)) {
            ++producers[*byte];
        }
    }
    for (int byte = 0; byte < 256; ++byte) {
        const bool control = byte == 0x00 || byte == 0x09 || byte == 0x0D;
        EXPECT_EQ(producers[byte], control ? 0 : 1) << "byte " << byte;
    }
}

// The glyph a byte draws is the character a page converts to that byte, apart from the bytes a
// page keeps as controls or blanks.
TEST(Cp437, EveryByteDrawsTheCharacterThatConvertsToIt) {
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t glyph = cp437Glyph(static_cast<std::uint8_t>(byte));
        if (byte == 0x00 || byte == 0x09 || byte == 0x0A || byte == 0x0D) {
            EXPECT_FALSE(cp437ByteFor(glyph) == byte) << "byte " << byte;
            continue;
        }
        EXPECT_EQ(cp437ByteFor(glyph), byte) << "byte " << byte;
    }
    EXPECT_EQ(cp437Glyph(0x0A), U'\u25D9');
}

TEST(Cp437, NamesFileLineAndColumnOfWhatItRefuses) {
    EXPECT_EQ(rejectionOf("ok\nab\tc"), "page.txt:2:3: tab (pages hold no tabs; use spaces)");
    EXPECT_EQ(rejectionOf("line\r\n"),
              "page.txt:1:5: carriage return (pages end lines with a line feed only)");
    EXPECT_EQ(rejectionOf("══\n═☃"), "page.txt:2:2: character U+2603 has no code page 437 byte");
    EXPECT_EQ(rejectionOf("a\xC3"), "page.txt:1:2: invalid UTF-8");
    EXPECT_EQ(rejectionOf("\xC0\x80"), "page.txt:1:1: invalid UTF-8"); // overlong zero
    EXPECT_EQ(rejectionOf(std::string("a\0", 2)),
              "page.txt:1:2: character U+0000 has no code page 437 byte");
}

} // namespace
} // namespace omra::tools
