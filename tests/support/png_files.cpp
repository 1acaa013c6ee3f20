#include "support/png_files.h"

#include <cstring>
#include <stdexcept>

// Private copies of stb's PNG reader and writer: the intro's own TGA-only decoder is linked too.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace omra::headless {

namespace {

// OpenGL counts rows from the bottom, image files from the top.
std::vector<Rgba> flipped(const std::vector<Rgba>& pixels, int width, int height) {
    std::vector<Rgba> rows(pixels.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(&rows[static_cast<std::size_t>(y) * width],
                    &pixels[static_cast<std::size_t>(height - 1 - y) * width],
                    sizeof(Rgba) * width);
    }
    return rows;
}

} // namespace

void writePng(const std::filesystem::path& path, const Image& image) {
    const std::vector<Rgba> rows = flipped(image.pixels, image.width, image.height);
    if (stbi_write_png(path.string().c_str(), image.width, image.height, 4, rows.data(),
                       image.width * 4) == 0) {
        throw std::runtime_error("could not write " + path.string());
    }
}

std::optional<Image> readPng(const std::filesystem::path& path) {
    int width = 0, height = 0, components = 0;
    stbi_uc* data = stbi_load(path.string().c_str(), &width, &height, &components, 4);
    if (data == nullptr) {
        return std::nullopt;
    }
    std::vector<Rgba> rows(static_cast<std::size_t>(width) * height);
    std::memcpy(rows.data(), data, rows.size() * sizeof(Rgba));
    stbi_image_free(data);
    return Image{width, height, flipped(rows, width, height)};
}

} // namespace omra::headless
