#pragma once

#include "core/gl_api.h"

#include <cstdint>
#include <span>

namespace omra {

// A 2D texture name with the size of the image it holds (0 × 0 until one is uploaded).
struct Texture2D {
    Texture2D();
    ~Texture2D();
    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

    // Decodes an uncompressed 24- or 32-bit TGA file lying in memory and uploads it as level 0,
    // top row first, so texture v = 0 is the image's top. Leaves the texture bound to
    // GL_TEXTURE_2D and the unpack alignment as it found it. Throws std::runtime_error
    // "Texture2D::LoadTGA()" when the bytes are not such an image.
    void LoadTGA(std::span<const std::uint8_t> file);

    GLuint id = 0;
    int width = 0;
    int height = 0;
};

} // namespace omra
