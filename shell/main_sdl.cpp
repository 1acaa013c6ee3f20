#define SDL_MAIN_HANDLED
#include "assets/assets.h"
#include "core/frame_advance.h"
#include "core/heap_retention.h"
#include "core/performance_counter.h"
#include "player/wave_device_sdl.h"
#include "render/frame.h"
#include "shell/command_line_sdl.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "shell/window_sdl.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace {

// Escape and the window's close button both end the intro.
bool endsIntro(const SDL_Event& event) {
    return event.type == SDL_QUIT ||
           (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

// One event per pass; a frame only when no event is waiting.
void runMainLoop(SDL_Window* window) {
    using namespace omra;
    for (;;) {
        SDL_Event event;
        if (SDL_PollEvent(&event) != 0) {
            if (endsIntro(event)) {
                return;
            }
            continue;
        }
        advanceFrame(frameState, frameClock, performanceCounter(), assets.pages);
        renderFrame();
        SDL_GL_SwapWindow(window);
    }
}

// A start-up failure as one line on stderr: a shader's log, say, has lines of its own.
int reportStartupFailure(const std::exception& error) {
    std::string line = error.what();
    std::replace(line.begin(), line.end(), '\n', ' ');
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    std::fprintf(stderr, "omra: %s\n", line.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = omra::answerCommandLine(argc, argv)) {
        return *status;
    }
    SDL_SetMainReady();
    omra::keepFreedHeapMemory();
    SDL_Window* window = nullptr;
    try {
        window = omra::openSdlWindow();
        omra::setWaveDevice(&omra::sdlWaveDevice());
        omra::runStartup();
    } catch (const std::exception& error) {
        return reportStartupFailure(error);
    }
    runMainLoop(window);
    omra::runShutdown();
    return 0;
}
