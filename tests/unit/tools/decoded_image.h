#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace omra::tools {

// An image as the intro's TGA decoder returns it: rows from the top, channels as stored.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;

    const std::uint8_t* at(int x, int yFromTop) const {
        return pixels.data() + (static_cast<std::size_t>(yFromTop) * width + x) * channels;
    }
    // True when the pixel's red, green and blue are all zero: the sprite key.
    bool isKeyBlack(int x, int yFromTop) const {
        const std::uint8_t* pixel = at(x, yFromTop);
        return (pixel[0] | pixel[1] | pixel[2]) == 0;
    }
};

// Decodes with stb_image, which the intro uses; nullopt when it refuses the file.
std::optional<DecodedImage> decodeImage(const std::vector<std::uint8_t>& file);

} // namespace omra::tools
