#include "shell/window_sdl.h"

#include "core/gl_context.h"

#include <stdexcept>
#include <string>

namespace omra {

namespace {

constexpr int WindowWidth = 960;
constexpr int WindowHeight = 540;

SDL_Window* mainWindow = nullptr;
SDL_GLContext renderingContext = nullptr;

[[noreturn]] void failWith(const std::string& what) {
    throw std::runtime_error(what + ": " + SDL_GetError());
}

bool isSet(const char* variable) {
    const char* value = SDL_getenv(variable);
    return value != nullptr && *value != '\0';
}

[[noreturn]] void failWithoutDisplay(const std::string& reason) {
    throw std::runtime_error("no display to open the window on: " + reason +
                             "; scripts/run-intro.sh runs the intro on a virtual display");
}

// SDL_Init for the window; without a display SDL would fall back to a video driver that draws
// nowhere, and the intro would run unseen, so an X or Wayland display is asked for unless a
// driver is named in SDL_VIDEODRIVER.
void initVideo() {
    const bool display = isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
    if (!display && !isSet("SDL_VIDEODRIVER")) {
        failWithoutDisplay("DISPLAY and WAYLAND_DISPLAY are unset");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (!display) {
            failWithoutDisplay(std::string("DISPLAY and WAYLAND_DISPLAY are unset (SDL_Init: ") +
                               SDL_GetError() + ")");
        }
        failWith("SDL_Init");
    }
}

void requestContextAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

} // namespace

SDL_Window* openSdlWindow() {
    initVideo();
    requestContextAttributes();
    mainWindow = SDL_CreateWindow("Omra", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  WindowWidth, WindowHeight, SDL_WINDOW_OPENGL);
    if (mainWindow == nullptr) {
        failWith("SDL_CreateWindow");
    }
    renderingContext = SDL_GL_CreateContext(mainWindow);
    if (renderingContext == nullptr) {
        failWith("no OpenGL 4.0 core context (SDL_GL_CreateContext)");
    }
    return mainWindow;
}

void deleteRenderingContext() {
    SDL_GL_MakeCurrent(mainWindow, nullptr);
    SDL_GL_DeleteContext(renderingContext);
    renderingContext = nullptr;
}

void releaseGlLibrary() {
    // SDL holds the OpenGL library for as long as an OpenGL window exists: the window goes
    // first, and SDL itself lets go of the library as it shuts down.
    SDL_DestroyWindow(mainWindow);
    mainWindow = nullptr;
    SDL_Quit();
}

void requestSwapIntervalOne() {
    // Drivers without swap control (Xvfb's among them) refuse; the swap then paces nothing.
    SDL_GL_SetSwapInterval(1);
}

void* lookUpGlEntryPoint(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

} // namespace omra
