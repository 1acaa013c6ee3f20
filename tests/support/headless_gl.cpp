#include "support/headless_gl.h"

#include "core/gl_context.h"
#include "core/gl_function_table.h"
#include "headless/headless_context_egl.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace omra {

namespace {

headless::ContextObserver observer;

void tellObserver(const char* what) {
    if (observer.contextEvent != nullptr) {
        observer.contextEvent(what);
    }
}

struct WindowSize {
    int width = 960;
    int height = 540;
};

WindowSize testWindowSize() {
    WindowSize size;
    if (const char* given = std::getenv("OMRA_TEST_WINDOW")) {
        if (std::sscanf(given, "%dx%d", &size.width, &size.height) != 2) {
            throw std::runtime_error(std::string("OMRA_TEST_WINDOW is not WIDTHxHEIGHT: ") + given);
        }
    }
    return size;
}

// Entry points only the tests use, beside the intro's table.
template <typename Function>
Function testEntryPoint(const char* name) {
    return reinterpret_cast<Function>(headless_egl::entryPoint(name));
}

} // namespace

void requestSwapIntervalOne() {
    headless_egl::requestSwapIntervalOne();
}

void* lookUpGlEntryPoint(const char* name) {
    void* entryPoint = headless_egl::entryPoint(name);
    if (observer.wrapEntryPoint != nullptr && entryPoint != nullptr) {
        return observer.wrapEntryPoint(name, entryPoint);
    }
    return entryPoint;
}

void deleteRenderingContext() {
    headless_egl::deleteContext();
    tellObserver("deleteRenderingContext");
}

void releaseGlLibrary() {
    headless_egl::terminateDisplay();
    tellObserver("releaseGlLibrary");
}

namespace headless {

int windowWidth() {
    static const int width = testWindowSize().width;
    return width;
}

int windowHeight() {
    static const int height = testWindowSize().height;
    return height;
}

void openContext(int width, int height, headless_egl::ContextKind kind) {
    headless_egl::openContext(width, height, kind);
}

void observeContext(const ContextObserver& newObserver) {
    observer = newObserver;
}

void loadFunctionTable() {
    loadGlFunctionTable(lookUpGlEntryPoint);
}

void finish() {
    testEntryPoint<PFNGLFINISHPROC>("glFinish")();
}

Image readFramebuffer(GLuint framebuffer) {
    const int width = headless_egl::surfaceWidth();
    const int height = headless_egl::surfaceHeight();
    Image image{width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * height)};
    GLint previous = 0;
    gl.GetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    finish();
    testEntryPoint<PFNGLREADPIXELSPROC>("glReadPixels")(0, 0, width, height, GL_RGBA,
                                                        GL_UNSIGNED_BYTE, image.pixels.data());
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    return image;
}

Image readTexture(GLuint texture, int width, int height) {
    Image image{width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * height)};
    gl.BindTexture(GL_TEXTURE_2D, texture);
    testEntryPoint<PFNGLGETTEXIMAGEPROC>("glGetTexImage")(GL_TEXTURE_2D, 0, GL_RGBA,
                                                          GL_UNSIGNED_BYTE, image.pixels.data());
    return image;
}

GLint textureInternalFormat(GLuint texture) {
    GLint format = 0;
    gl.BindTexture(GL_TEXTURE_2D, texture);
    testEntryPoint<PFNGLGETTEXLEVELPARAMETERIVPROC>("glGetTexLevelParameteriv")(
        GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format;
}

} // namespace headless
} // namespace omra
