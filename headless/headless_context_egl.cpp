#include "headless/headless_context_egl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace omra::headless_egl {

namespace {

struct HeadlessContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    int width = 0;
    int height = 0;
};

HeadlessContext headlessContext;

[[noreturn]] void failAt(const char* step) {
    throw std::runtime_error(std::string("headless OpenGL: ") + step + " failed (EGL error 0x" +
                             std::to_string(eglGetError()) + ")");
}

} // namespace

void openContext(int width, int height, ContextKind kind) {
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
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
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
                                        EGL_CONTEXT_OPENGL_DEBUG,
                                        kind == ContextKind::Debug ? EGL_TRUE : EGL_FALSE,
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

int surfaceWidth() {
    return headlessContext.width;
}

int surfaceHeight() {
    return headlessContext.height;
}

void* entryPoint(const char* name) {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

void requestSwapIntervalOne() {
    eglSwapInterval(headlessContext.display, 1);
}

void deleteContext() {
    HeadlessContext& h = headlessContext;
    eglMakeCurrent(h.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(h.display, h.context);
    eglDestroySurface(h.display, h.surface);
    h.context = EGL_NO_CONTEXT;
    h.surface = EGL_NO_SURFACE;
}

void terminateDisplay() {
    eglTerminate(headlessContext.display);
    headlessContext.display = EGL_NO_DISPLAY;
}

} // namespace omra::headless_egl
