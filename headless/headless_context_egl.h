#pragma once

// An OpenGL 4.0 core context without a display, for the front ends that draw off-screen (the
// capture tool, the rendering tests): Mesa's software rasteriser through an EGL surfaceless
// display, with a pbuffer surface whose framebuffer 0 stands in for the window. Each of them
// provides core/gl_context.h over these calls.
namespace omra::headless_egl {

// Whether the context reports what it sees through the debug output (slower).
enum class ContextKind { Plain, Debug };

// Opens the context once per process with a surface of width × height and makes it current.
// A second call must ask for the same size. Throws std::runtime_error naming the failing step.
void openContext(int width, int height, ContextKind kind = ContextKind::Plain);

int surfaceWidth();
int surfaceHeight();

// The current context's entry point of that name ("glClear"), or null.
void* entryPoint(const char* name);

void requestSwapIntervalOne();

// Deletes the context and its surface; nothing is current afterwards.
void deleteContext();

// Lets go of the display, and with it the driver.
void terminateDisplay();

} // namespace omra::headless_egl
