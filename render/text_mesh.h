#pragma once

#include "render/vertex_array.h"

namespace omra {

// The text pages' drawing state: the quad refilled for every page glyph and the glyph atlas
// texture it is drawn with.
struct TextMesh {
    // Takes the atlas texture over and records the quad's layout (no data until the first
    // glyph).
    explicit TextMesh(GLuint atlasTexture);
    ~TextMesh();
    TextMesh(const TextMesh&) = delete;
    TextMesh& operator=(const TextMesh&) = delete;

    VertexArray mesh;
    GLuint atlas = 0;
};

} // namespace omra
