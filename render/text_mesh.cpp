#include "render/text_mesh.h"

#include "core/gl_function_table.h"

namespace omra {

TextMesh::TextMesh(GLuint atlasTexture)
    : mesh(createVertexArray({}, TexturedVertexStride, TexturedVertex)), atlas(atlasTexture) {}

TextMesh::~TextMesh() {
    gl.DeleteBuffers(1, &mesh.buffer);
    gl.DeleteVertexArrays(1, &mesh.vertexArray);
    gl.DeleteTextures(1, &atlas);
}

} // namespace omra
