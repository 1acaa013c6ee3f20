#include "support/synthetic_assets.h"

#include "assets/assets.h"
#include "tga/tga.h"

namespace omra::synthetic_assets {

namespace {

// Sets a pixel given from the top-left in an image stored bottom row first (B, G, R(, A)).
void put(tools::TgaImage& image, int x, int yFromTop, std::uint8_t r, std::uint8_t g,
         std::uint8_t b) {
    const int bytes = image.bitsPerPixel / 8;
    const std::size_t offset =
        (static_cast<std::size_t>(image.height - 1 - yFromTop) * image.width + x) * bytes;
    image.pixels[offset] = b;
    image.pixels[offset + 1] = g;
    image.pixels[offset + 2] = r;
    if (bytes == 4) {
        image.pixels[offset + 3] = 255;
    }
}

tools::TgaImage logo() {
    tools::TgaImage image{425, 81, 24, std::vector<std::uint8_t>(425 * 81 * 3, 255)};
    for (int y = HoleTop; y < HoleTop + HoleHeight; ++y) {
        for (int x = HoleLeft; x < HoleLeft + HoleWidth; ++x) {
            put(image, x, y, 0, 0, 0);
        }
    }
    return image;
}

tools::TgaImage glyphSheet() {
    tools::TgaImage image{512, 512, 32, std::vector<std::uint8_t>(512 * 512 * 4)};
    for (int code = 0; code < 256; ++code) {
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 16; ++x) {
                put(image, code % 16 * 32 + x, code / 16 * 32 + y, glyphRed,
                    glyphGreen(static_cast<std::uint8_t>(code)), glyphBlue);
            }
        }
    }
    return image;
}

} // namespace

void install() {
    assets.logoImage = tools::encodeTga(logo(), false);
    assets.fontImage = tools::encodeTga(glyphSheet(), true);
    assets.scrollerText = scrollerText;
    assets.pages = {TextPage{"page", 0, 0}};
}

} // namespace omra::synthetic_assets
