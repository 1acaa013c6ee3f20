#pragma once

#include "core/gl_api.h"
#include "headless/headless_context_egl.h"

#include <cstdint>
#include <vector>

// A real OpenGL 4.0 core context without a display, for the rendering tests and the benchmark:
// an EGL surfaceless display with a pbuffer surface, whose framebuffer 0 stands in for the
// window. It also provides the platform side of core/gl_context.h through EGL; once the
// intro's shutdown has deleted the context, the process has no context any more.
namespace omra::headless {

// The window the tests draw in: the intro's default 960 × 540, as SDL opens it without a frame,
// or the size OMRA_TEST_WINDOW gives as WIDTHxHEIGHT (a Windows client area, say).
int windowWidth();
int windowHeight();

struct Rgba {
    std::uint8_t r, g, b, a;
};

// Pixels read back from a framebuffer, bottom row first as OpenGL counts window rows.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Opens the context once per process with a surface of the given size and makes it current.
// Later calls must ask for the same size. Throws std::runtime_error naming the failing step.
void openContext(int width, int height,
                 headless_egl::ContextKind kind = headless_egl::ContextKind::Plain);

// Fills the OpenGL function table from the open context.
void loadFunctionTable();

// Waits until every command issued so far has finished.
void finish();

// The window-sized colour attachment of `framebuffer` (0: the stand-in window), read once every
// command has finished.
Image readFramebuffer(GLuint framebuffer);

// What a test may see of the intro's use of the context. `wrapEntryPoint` gets each entry
// point the function table is filled with (by name, "glClear") and returns what the table
// holds instead; `contextEvent` hears "deleteRenderingContext" and "releaseGlLibrary".
struct ContextObserver {
    void* (*wrapEntryPoint)(const char* name, void* entryPoint) = nullptr;
    void (*contextEvent)(const char* what) = nullptr;
};

void observeContext(const ContextObserver& observer);

// The level 0 image of a 2D texture as RGBA.
Image readTexture(GLuint texture, int width, int height);

// Internal format of a 2D texture's level 0.
GLint textureInternalFormat(GLuint texture);

} // namespace omra::headless
