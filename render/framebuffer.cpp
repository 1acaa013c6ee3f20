#include "render/framebuffer.h"

#include "core/gl_function_table.h"

#include <stdexcept>

namespace omra {

Framebuffer::Framebuffer(int width, int height)
    : width(width), height(height),
      // (x, y, u, v) of a strip covering clip space.
      quadVertices{-1, -1, 0, 0, -1, 1, 0, 1, 1, -1, 1, 0, 1, 1, 1, 1} {
    gl.GenFramebuffers(1, &framebuffer);
    quad = generateVertexArray();
    gl.GenRenderbuffers(1, &depthRenderbuffer);
    recordLayout(quad, quadVertices, TexturedVertexStride, TexturedVertex);

    colour = std::make_unique<Texture2D>();
    colour->width = width;
    colour->height = height;
    gl.BindTexture(GL_TEXTURE_2D, colour->id);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    GLint savedRenderbuffer = 0;
    gl.GetIntegerv(GL_RENDERBUFFER_BINDING, &savedRenderbuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);

    GLint savedFramebuffer = 0;
    gl.GetIntegerv(GL_FRAMEBUFFER_BINDING, &savedFramebuffer);
    gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour->id, 0);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                               depthRenderbuffer);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        throw std::runtime_error("Framebuffer::Framebuffer()");
    }
    gl.BindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(savedFramebuffer));
    gl.BindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(savedRenderbuffer));
}

Framebuffer::~Framebuffer() {
    gl.DeleteBuffers(1, &quad.buffer);
    gl.DeleteVertexArrays(1, &quad.vertexArray);
    gl.DeleteRenderbuffers(1, &depthRenderbuffer);
    gl.DeleteFramebuffers(1, &framebuffer);
}

} // namespace omra
