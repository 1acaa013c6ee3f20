#pragma once

#include "tga/tga.h"

#include <vector>

namespace omra::tools {

// A colour with channels from 0 to 255, kept as floats while layers are mixed.
struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour mix(Colour from, Colour to, float amount);

// A picture addressed from its top-left corner, the way it is designed, written out as a TGA
// stored bottom row first.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Colour& at(int x, int yFromTop);
    const Colour& at(int x, int yFromTop) const;

    // Channels are rounded to bytes. At 32 bits, alpha is 0 where the pixel is pure black (the
    // intro's transparent key) and 255 elsewhere, so other viewers show the same cut-out.
    TgaImage toTga(int bitsPerPixel) const;

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

} // namespace omra::tools
