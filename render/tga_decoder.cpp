#include "render/tga_decoder.h"

#include "core/little_endian.h"

#include <climits>

// Only the TGA decoder is built; everything reaches it through memory.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#include <stb/stb_image.h>

namespace omra {

void FreeDecodedPixels::operator()(std::uint8_t* pixels) const {
    stbi_image_free(pixels);
}

namespace {

constexpr std::size_t HeaderSize = 18;
constexpr int UncompressedTrueColour = 2;

// The decoder reads missing bytes as zeros, so a cut-off file would pass for an image with a
// black tail; the header says how many bytes an uncompressed image needs.
bool holdsWholeUncompressedImage(std::span<const std::uint8_t> file) {
    if (file.size() < HeaderSize || file[2] != UncompressedTrueColour) {
        return false;
    }
    const std::size_t idLength = file[0];
    const std::size_t colourMapBytes =
        file[1] == 0 ? 0 : static_cast<std::size_t>(readU16LE(&file[5])) * ((file[7] + 7) / 8);
    const std::size_t width = readU16LE(&file[12]);
    const std::size_t height = readU16LE(&file[14]);
    const std::size_t pixelBytes = (file[16] + 7) / 8;
    return file.size() >= HeaderSize + idLength + colourMapBytes + width * height * pixelBytes &&
           file.size() <= static_cast<std::size_t>(INT_MAX);
}

} // namespace

DecodedImage decodeTga(std::span<const std::uint8_t> file) {
    DecodedImage image;
    if (!holdsWholeUncompressedImage(file)) {
        return image;
    }
    image.pixels.reset(stbi_load_from_memory(file.data(), static_cast<int>(file.size()),
                                             &image.width, &image.height, &image.components, 0));
    if (image.components != 3 && image.components != 4) {
        image.pixels.reset();
    }
    return image;
}

} // namespace omra
