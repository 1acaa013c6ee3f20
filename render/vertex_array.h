#pragma once

#include "core/gl_api.h"

#include <cstddef>
#include <initializer_list>
#include <span>

namespace omra {

// A vertex array object with the one buffer that feeds it.
struct VertexArray {
    GLuint vertexArray = 0;
    GLuint buffer = 0;
};

// One float attribute: its component count and byte offset within a vertex.
struct VertexAttribute {
    GLint components;
    std::size_t offset;
};

VertexArray generateVertexArray();

// Records the layout once: attribute i is the i-th entry, all floats, not normalised. Uploads
// `vertices` with GL_STATIC_DRAW unless it is empty (buffers refilled per frame start empty).
// A stride of 0 means tightly packed. Leaves vertex array 0 bound.
void recordLayout(const VertexArray& array, std::span<const float> vertices, GLsizei stride,
                  std::initializer_list<VertexAttribute> attributes);

// Generates a vertex array and its buffer and records their layout.
VertexArray createVertexArray(std::span<const float> vertices, GLsizei stride,
                              std::initializer_list<VertexAttribute> attributes);

// Position and texture coordinate, two floats each: quads drawn with a texture.
inline constexpr GLsizei TexturedVertexStride = 16;
inline constexpr std::initializer_list<VertexAttribute> TexturedVertex = {{2, 0}, {2, 8}};

} // namespace omra
