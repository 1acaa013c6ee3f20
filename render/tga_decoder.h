#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace omra {

struct FreeDecodedPixels {
    void operator()(std::uint8_t* pixels) const;
};

// Pixels of a decoded image, top row first, R, G, B(, A) per pixel.
struct DecodedImage {
    std::unique_ptr<std::uint8_t, FreeDecodedPixels> pixels;
    int width = 0;
    int height = 0;
    int components = 0;
};

// Decodes an uncompressed true-colour TGA file (3 or 4 components, as stored) without flipping
// it. No pixels when the bytes are not such an image, are cut off before the last pixel, or hold
// grey or compressed images, which the asset pack never stores.
DecodedImage decodeTga(std::span<const std::uint8_t> file);

} // namespace omra
