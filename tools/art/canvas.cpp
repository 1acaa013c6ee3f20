#include "art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace omra::tools {

namespace {

std::uint8_t toByte(float channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 255.0f)));
}

} // namespace

Colour mix(Colour from, Colour to, float amount) {
    return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
            from.b + (to.b - from.b) * amount};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

Colour& Canvas::at(int x, int yFromTop) {
    return pixels_[static_cast<std::size_t>(yFromTop) * width_ + x];
}

const Colour& Canvas::at(int x, int yFromTop) const {
    return pixels_[static_cast<std::size_t>(yFromTop) * width_ + x];
}

TgaImage Canvas::toTga(int bitsPerPixel) const {
    const int bytes = bitsPerPixel / 8;
    TgaImage image{width_, height_, bitsPerPixel,
                   std::vector<std::uint8_t>(pixels_.size() * static_cast<std::size_t>(bytes))};
    std::size_t out = 0;
    for (int row = height_ - 1; row >= 0; --row) {
        for (int x = 0; x < width_; ++x) {
            const Colour& colour = at(x, row);
            const std::uint8_t b = toByte(colour.b), g = toByte(colour.g), r = toByte(colour.r);
            image.pixels[out++] = b;
            image.pixels[out++] = g;
            image.pixels[out++] = r;
            if (bytes == 4) {
                image.pixels[out++] = (r | g | b) == 0 ? 0 : 255;
            }
        }
    }
    return image;
}

} // namespace omra::tools
