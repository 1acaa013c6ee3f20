#include "render/scene_setup.h"

#include "assets/assets.h"
#include "shell/frame_clock.h"
#include "shell/frame_state.h"
#include "shell/gl_context.h"
#include "shell/gl_function_table.h"
#include "shell/performance_counter.h"

namespace omra {

void setupScene() {
    requestSwapIntervalOne();
    loadGlFunctionTable(lookUpGlEntryPoint);
    // The viewport the context started with is the window's client area.
    GLint viewport[4] = {};
    gl.GetIntegerv(GL_VIEWPORT, viewport);
    frameState.viewportWidth = viewport[2];
    frameState.viewportHeight = viewport[3];
    frameState.currentPage = assets.pages.empty() ? nullptr : &assets.pages.front();
    const std::int64_t frequency = performanceFrequency();
    startFrameClock(frameClock, frequency, performanceCounter());
    frameState.sceneTime = 0.0f;
}

} // namespace omra
