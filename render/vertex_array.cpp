#include "render/vertex_array.h"

#include "core/gl_function_table.h"

namespace omra {

VertexArray generateVertexArray() {
    VertexArray array;
    gl.GenVertexArrays(1, &array.vertexArray);
    gl.GenBuffers(1, &array.buffer);
    return array;
}

void recordLayout(const VertexArray& array, std::span<const float> vertices, GLsizei stride,
                  std::initializer_list<VertexAttribute> attributes) {
    gl.BindVertexArray(array.vertexArray);
    gl.BindBuffer(GL_ARRAY_BUFFER, array.buffer);
    if (!vertices.empty()) {
        gl.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size_bytes()),
                      vertices.data(), GL_STATIC_DRAW);
    }
    GLuint index = 0;
    for (const VertexAttribute& attribute : attributes) {
        gl.VertexAttribPointer(index, attribute.components, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(attribute.offset));
        gl.EnableVertexAttribArray(index);
        ++index;
    }
    gl.BindVertexArray(0);
}

VertexArray createVertexArray(std::span<const float> vertices, GLsizei stride,
                              std::initializer_list<VertexAttribute> attributes) {
    const VertexArray array = generateVertexArray();
    recordLayout(array, vertices, stride, attributes);
    return array;
}

} // namespace omra
