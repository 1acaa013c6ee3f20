#include "render/bitmap_font.h"

#include "core/gl_function_table.h"

namespace omra {

BitmapFont::BitmapFont(std::span<const std::uint8_t> sheetFile)
    : mesh(createVertexArray({}, TexturedVertexStride, TexturedVertex)),
      texture(std::make_unique<Texture2D>()) {
    texture->LoadTGA(sheetFile);
    gl.BindTexture(GL_TEXTURE_2D, texture->id);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

BitmapFont::~BitmapFont() {
    texture.reset();
    gl.DeleteBuffers(1, &mesh.buffer);
    gl.DeleteVertexArrays(1, &mesh.vertexArray);
}

} // namespace omra
