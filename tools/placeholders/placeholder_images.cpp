#include "placeholders/placeholder_images.h"

#include <array>
#include <cstdint>

namespace omra::tools {

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// Sets a pixel given in top-down coordinates in an image stored bottom row first.
void putPixel(TgaImage& image, int x, int yFromTop, Rgb colour, std::uint8_t alpha = 255) {
    const int bytes = image.bitsPerPixel / 8;
    const std::size_t offset =
        (static_cast<std::size_t>(image.height - 1 - yFromTop) * image.width + x) * bytes;
    image.pixels[offset + 0] = colour.b;
    image.pixels[offset + 1] = colour.g;
    image.pixels[offset + 2] = colour.r;
    if (bytes == 4) {
        image.pixels[offset + 3] = alpha;
    }
}

TgaImage blackImage(int width, int height, int bits) {
    return TgaImage{width, height, bits,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * bits / 8)};
}

// 5 x 7 block letters, one row per byte, bit 4 the leftmost column.
constexpr std::array<std::array<std::uint8_t, 7>, 4> LogoLetters = {{
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // O
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // M
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // R
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // A
}};

// Purple at the top to cyan at the bottom, never black.
Rgb logoShade(int yFromTop, int top, int height) {
    const int t = (yFromTop - top) * 255 / (height - 1);
    return Rgb{static_cast<std::uint8_t>(200 - t * 160 / 255),
               static_cast<std::uint8_t>(60 + t * 160 / 255), 230};
}

} // namespace

TgaImage placeholderLogo() {
    constexpr int Width = 425, Height = 81, Cell = 9, LetterGap = 18;
    constexpr int LetterWidth = 5 * Cell, LetterHeight = 7 * Cell;
    constexpr int TextWidth = 4 * LetterWidth + 3 * LetterGap;
    constexpr int Left = (Width - TextWidth) / 2, Top = (Height - LetterHeight) / 2;
    TgaImage logo = blackImage(Width, Height, 24);
    for (std::size_t letter = 0; letter < LogoLetters.size(); ++letter) {
        const int letterLeft = Left + static_cast<int>(letter) * (LetterWidth + LetterGap);
        for (int y = 0; y < LetterHeight; ++y) {
            for (int x = 0; x < LetterWidth; ++x) {
                if ((LogoLetters[letter][y / Cell] >> (4 - x / Cell) & 1) != 0) {
                    putPixel(logo, letterLeft + x, Top + y, logoShade(Top + y, Top, LetterHeight));
                }
            }
        }
    }
    return logo;
}

TgaImage placeholderFontSheet() {
    constexpr int Size = 512, Cell = 32, GlyphWidth = 16, GlyphHeight = 18;
    TgaImage sheet = blackImage(Size, Size, 32);
    for (int code = 33; code <= 126; ++code) {
        const int left = code % 16 * Cell, top = code / 16 * Cell;
        const Rgb colour{255, static_cast<std::uint8_t>(120 + code), 40};
        for (int y = 0; y < GlyphHeight; ++y) {
            for (int x = 0; x < GlyphWidth; ++x) {
                const bool frame = x == 0 || y == 0 || x == GlyphWidth - 1 || y == GlyphHeight - 1;
                // Seven 2 x 2 dots across the middle show the code's bits.
                const int bit = (x - 1) / 2;
                const bool dot = y >= 8 && y < 10 && x >= 1 && x < 15 && (code >> (6 - bit) & 1);
                if (frame || dot) {
                    putPixel(sheet, left + x, top + y, colour);
                }
            }
        }
    }
    return sheet;
}

} // namespace omra::tools
