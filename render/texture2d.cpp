#include "render/texture2d.h"

#include "core/gl_function_table.h"
#include "render/tga_decoder.h"

#include <stdexcept>

namespace omra {

Texture2D::Texture2D() {
    gl.GenTextures(1, &id);
}

Texture2D::~Texture2D() {
    gl.DeleteTextures(1, &id);
}

void Texture2D::LoadTGA(std::span<const std::uint8_t> file) {
    const DecodedImage image = decodeTga(file);
    if (!image.pixels) {
        throw std::runtime_error("Texture2D::LoadTGA()");
    }
    GLint savedAlignment = 0;
    gl.GetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    // Rows of the 425-pixel-wide logo are 1275 bytes, not a multiple of 4.
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.BindTexture(GL_TEXTURE_2D, id);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    const GLenum format = image.components == 3 ? GL_RGB : GL_RGBA;
    gl.TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0,
                  format, GL_UNSIGNED_BYTE, image.pixels.get());
    width = image.width;
    height = image.height;
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
}

} // namespace omra
