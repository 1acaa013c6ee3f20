#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The parts of a BDF bitmap font the glyph table needs.
namespace omra::tools {

struct BdfGlyph {
    int width = 0;
    int height = 0;
    int offsetX = 0; // left edge, from the origin
    int offsetY = 0; // bottom edge, from the baseline (negative below it)
    // Top row first; bit 31 is the leftmost pixel.
    std::vector<std::uint32_t> rows;
};

struct BdfFont {
    int ascent = 0;
    int descent = 0;
    std::string copyright;
    std::map<char32_t, BdfGlyph> glyphs; // by encoding
};

// Parses BDF text. Throws std::runtime_error "NAME:LINE: reason" for what it cannot read.
BdfFont parseBdf(std::string_view text, std::string_view sourceName);

} // namespace omra::tools
