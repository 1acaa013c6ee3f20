#include "core/gl_function_table.h"
#include "render/framebuffer.h"
#include "support/headless_gl_test.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra {
namespace {

using FramebufferTest = headless::HeadlessGlTest;

TEST_F(FramebufferTest, ACompleteTargetLeavesTheBindingsItFound) {
    GLuint renderbuffer = 0;
    gl.GenRenderbuffers(1, &renderbuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    {
        const Framebuffer target(320, 200);
        EXPECT_EQ(headless::glInteger(GL_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(headless::glInteger(GL_RENDERBUFFER_BINDING), static_cast<GLint>(renderbuffer));
        EXPECT_EQ(target.colour->width, 320);
        EXPECT_EQ(target.colour->height, 200);
        EXPECT_EQ(headless::textureInternalFormat(target.colour->id), GL_RGBA);
        EXPECT_EQ(target.quadVertexCount(), 4);
        gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        EXPECT_EQ(gl.CheckFramebufferStatus(GL_FRAMEBUFFER), GLenum{GL_FRAMEBUFFER_COMPLETE});
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    gl.DeleteRenderbuffers(1, &renderbuffer);
}

TEST_F(FramebufferTest, AnIncompleteTargetIsRefused) {
    // Attachments without any pixels make the framebuffer incomplete.
    std::string message = "(complete)";
    try {
        const Framebuffer target(0, 0);
    } catch (const std::runtime_error& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Framebuffer::Framebuffer()");
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
}

} // namespace
} // namespace omra
