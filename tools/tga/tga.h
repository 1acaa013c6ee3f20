#pragma once

#include <cstddef>
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
    std::size_t pixelOffset; // after the header, the image ID and any colour map
    bool holdsItsPixels;     // the file is long enough for uncompressed pixels of that size
};

// Reads the 18-byte header; nullopt when the file is shorter than that.
std::optional<TgaHeader> readTgaHeader(std::span<const std::uint8_t> file);

// Whether the image type is one a TGA file may have: none, colour-mapped, true-colour or grey,
// each uncompressed or run-length encoded.
bool isTgaImageType(int imageType);

// An uncompressed TGA file with its rows stored bottom row first and its origin bit clear: the
// rows are reversed when the header puts the origin at the top, the file is unchanged otherwise.
// The header is believed: rows stored top first under a bottom-left origin stay as they are.
std::vector<std::uint8_t> withBottomLeftOrigin(std::span<const std::uint8_t> file);

} // namespace omra::tools
