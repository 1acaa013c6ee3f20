#include "support/headless_gl.h"

#include "core/gl_context.h"
#include "core/gl_function_table.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace omra {

namespace {

struct HeadlessContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    int width = 0;
    int height = 0;
};

HeadlessContext headlessContext;
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

[[noreturn]] void failAt(const char* step) {
    throw std::runtime_error(std::string("headless OpenGL: ") + step + " failed (EGL error 0x" +
                             std::to_string(eglGetError()) + ")");
}

// Entry points only the tests use, beside the intro's table.
template <typename Function>
Function testEntryPoint(const char* name) {
    return reinterpret_cast<Function>(eglGetProcAddress(name));
}

} // namespace

void requestSwapIntervalOne() {
    eglSwapInterval(headlessContext.display, 1);
}

void* lookUpGlEntryPoint(const char* name) {
    void* entryPoint = reinterpret_cast<void*>(eglGetProcAddress(name));
    if (observer.wrapEntryPoint != nullptr && entryPoint != nullptr) {
        return observer.wrapEntryPoint(name, entryPoint);
    }
    return entryPoint;
}

void deleteRenderingContext() {
    HeadlessContext& h = headlessContext;
    eglMakeCurrent(h.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(h.display, h.context);
    eglDestroySurface(h.display, h.surface);
    h.context = EGL_NO_CONTEXT;
    h.surface = EGL_NO_SURFACE;
    tellObserver("deleteRenderingContext");
}

void releaseGlLibrary() {
    eglTerminate(headlessContext.display);
    headlessContext.display = EGL_NO_DISPLAY;
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

void openContext(int width, int height) {
    HeadlessContext& h = headlessContext;
    if (h.context != EGL_NO_CONTEXT) {
        if (width != h.width || height != h.height) {
            throw std::runtime_error("headless OpenGL: the context is open at another size");
        }
        return;
    }
    // Mesa's software rasteriser on every machine, so frames compare with stored ones.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    const auto getPlatformDisplay =
        testEntryPoint<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    if (getPlatformDisplay == nullptr) {
        failAt("eglGetPlatformDisplayEXT lookup");
    }
    h.display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (h.display == EGL_NO_DISPLAY || !eglInitialize(h.display, nullptr, nullptr)) {
        failAt("eglInitialize on the surfaceless platform");
    }
    // What the intro asks of its window: 24-bit colour, 8-bit alpha, 24-bit depth.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(h.display, configAttributes, &config, 1, &configCount) ||
        configCount == 0) {
        failAt("eglChooseConfig");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    h.surface = eglCreatePbufferSurface(h.display, config, surfaceAttributes);
    if (h.surface == EGL_NO_SURFACE) {
        failAt("eglCreatePbufferSurface");
    }
    eglBindAPI(EGL_OPENGL_API);
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        4,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        0,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    h.context = eglCreateContext(h.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (h.context == EGL_NO_CONTEXT) {
        failAt("eglCreateContext (OpenGL 4.0 core)");
    }
    if (!eglMakeCurrent(h.display, h.surface, h.surface, h.context)) {
        failAt("eglMakeCurrent");
    }
    h.width = width;
    h.height = height;
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
    const int width = headlessContext.width;
    const int height = headlessContext.height;
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
