#pragma once

#include <cstdint>
#include <string>

// Assets made for the rendering tests, whose pictures are easy to find in a frame.
namespace omra::synthetic_assets {

// The logo: 425 × 81, white but for a black (keyed out) hole.
inline constexpr int HoleLeft = 200, HoleTop = 30, HoleWidth = 25, HoleHeight = 20;

// Every glyph of the sheet is a solid block of this colour, different for each code.
inline constexpr std::uint8_t glyphRed = 255;
inline constexpr std::uint8_t glyphBlue = 64;
inline std::uint8_t glyphGreen(std::uint8_t code) {
    return code;
}

// The scroller line: a blank, a line feed and a control code among letters.
inline const std::string scrollerText = "AB C\nD\x01";

// Puts the logo, glyph sheet, scroller line and one page into `assets`.
void install();

} // namespace omra::synthetic_assets
