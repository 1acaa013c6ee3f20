#pragma once

#include "render/texture2d.h"
#include "render/vertex_array.h"

#include <memory>
#include <vector>

namespace omra {

// The off-screen target of the background, stars and objects: colour texture and depth
// renderbuffer of the window's size, with the full-screen quad that copies it to the window.
class Framebuffer {
public:
    // Leaves the framebuffer and renderbuffer bindings as it found them. Throws
    // std::runtime_error "Framebuffer::Framebuffer()" when the framebuffer is not complete.
    Framebuffer(int width, int height);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    GLsizei quadVertexCount() const { return static_cast<GLsizei>(quadVertices.size() / 4); }

    GLuint framebuffer = 0;
    VertexArray quad;
    GLuint depthRenderbuffer = 0;
    int width = 0;
    int height = 0;
    std::vector<float> quadVertices;
    std::unique_ptr<Texture2D> colour;
};

} // namespace omra
