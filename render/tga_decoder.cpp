#include "render/tga_decoder.h"

#include "core/little_endian.h"
#include "core/tga_layout.h"

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

// The decoder reads missing bytes as zeros, so a cut-off file would pass for an image with a
// black tail; the header says how many bytes an uncompressed image needs.
bool holdsWholeUncompressedImage(std::span<const std::uint8_t> file) {
    using namespace tga_header;
    if (file.size() < Size || file[ImageType] != tga_image_type::TrueColour) {
        return false;
    }
    const std::size_t width = readU16LE(&file[Width]);
    const std::size_t height = readU16LE(&file[Height]);
    const std::size_t pixelBytes = (file[BitsPerPixel] + 7) / 8;
    return file.size() >= pixelDataOffset(file) + width * height * pixelBytes &&
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
