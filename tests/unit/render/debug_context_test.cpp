#include "assets/assets.h"
#include "common/files.h"
#include "core/gl_context.h"
#include "core/gl_function_table.h"
#include "support/scene_under_test.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// The intro's scene in an OpenGL debug context, which reports what a driver may refuse or do
// differently: errors, undefined behaviour and non-portable use. Mesa forgives more than the
// drivers viewers have; what it reports here, one of those would fail or draw wrongly.
namespace omra {
namespace {

struct DebugMessage {
    GLenum type;
    std::string text;
};

std::vector<DebugMessage> messages;

void APIENTRY keepMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei length, const GLchar* text,
                          const void*) {
    messages.push_back({type, std::string(text, static_cast<std::size_t>(length))});
}

bool decidesTheResult(GLenum type) {
    return type == GL_DEBUG_TYPE_ERROR || type == GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR ||
           type == GL_DEBUG_TYPE_PORTABILITY;
}

// The messages that decide the result, one per line; empty when there are none.
std::string reported() {
    std::string lines;
    for (const DebugMessage& message : messages) {
        if (decidesTheResult(message.type)) {
            lines += "  " + message.text + "\n";
        }
    }
    return lines;
}

template <typename Function>
Function entryPoint(const char* name) {
    return reinterpret_cast<Function>(lookUpGlEntryPoint(name));
}

TEST(DebugContext, TheSceneWithItsPagesAndScrollerDrawsWithoutAnErrorOrANonPortableCall) {
    headless::openContext(headless::windowWidth(), headless::windowHeight(),
                          headless_egl::ContextKind::Debug);
    // Every message while the call that caused it is still on the stack, before the scene's
    // first call.
    entryPoint<PFNGLENABLEPROC>("glEnable")(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    entryPoint<PFNGLDEBUGMESSAGECALLBACKPROC>("glDebugMessageCallback")(keepMessage, nullptr);

    assets = assetsFromEntries(splitPackEntries(tools::readFile(OMRA_PACK_FILE)));
    headless::setUpSceneOnce();
    GLint flags = 0;
    gl.GetIntegerv(GL_CONTEXT_FLAGS, &flags);
    ASSERT_NE(flags & GL_CONTEXT_FLAG_DEBUG_BIT, 0) << "the context is not a debug context";
    EXPECT_EQ(reported(), "") << "while setting up the scene";

    const auto getError = entryPoint<PFNGLGETERRORPROC>("glGetError");
    // A page sliding in, held, sliding out and gone, with the scroller in front throughout.
    for (const float t : {0.5f, 7.0f, 12.0f, 16.5f}) {
        messages.clear();
        headless::renderWindowAt(t);
        EXPECT_EQ(getError(), static_cast<GLenum>(GL_NO_ERROR)) << "at " << t << " s";
        EXPECT_EQ(reported(), "") << "at " << t << " s";
    }

    // The check sees an error when there is one.
    messages.clear();
    gl.Enable(GL_VERTEX_SHADER);
    EXPECT_NE(reported(), "") << "an invalid glEnable went unreported";
    getError();
}

} // namespace
} // namespace omra
