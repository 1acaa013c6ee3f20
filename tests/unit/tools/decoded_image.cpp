#include "decoded_image.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb/stb_image.h>

namespace omra::tools {

std::optional<DecodedImage> decodeImage(const std::vector<std::uint8_t>& file) {
    DecodedImage image;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()),
                                            &image.width, &image.height, &image.channels, 0);
    if (pixels == nullptr) {
        return std::nullopt;
    }
    image.pixels.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height *
                                             image.channels);
    stbi_image_free(pixels);
    return image;
}

} // namespace omra::tools
