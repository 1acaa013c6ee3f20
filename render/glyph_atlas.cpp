#include "render/glyph_atlas.h"

#include "core/gl_function_table.h"

namespace omra {

GLuint uploadGlyphAtlas(const std::uint8_t* pixels) {
    GLuint texture = 0;
    gl.GenTextures(1, &texture);
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Rows of 768 bytes meet the default unpack alignment of 4. The bitmap's blue-first byte
    // order does not matter: every pixel is grey.
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGB, GlyphAtlasSize, GlyphAtlasSize, 0, GL_RGB,
                  GL_UNSIGNED_BYTE, pixels);
    return texture;
}

} // namespace omra
