#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace omra::tools {

// An uncompressed true-colour image, rows stored bottom row first, pixels as B, G, R (and A).
struct TgaImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24; // 24 or 32
    std::vector<std::uint8_t> pixels;
};

// Writes an uncompressed true-colour TGA with its origin at the bottom left; with
// `withFooter` the 26-byte TGA 2.0 footer follows the pixels.
std::vector<std::uint8_t> encodeTga(const TgaImage& image, bool withFooter);

// The facts of a TGA header that the intro relies on.
struct TgaHeader {
    int imageType;
    int width;
    int height;
    int bitsPerPixel;
    bool originTop;
};

// Reads the 18-byte header; nullopt when there are fewer bytes than the header and its pixels.
std::optional<TgaHeader> readTgaHeader(std::span<const std::uint8_t> file);

} // namespace omra::tools
