#include "render/scene_setup.h"

#include "assets/assets.h"
#include "shell/frame_clock.h"
#include "shell/frame_state.h"
#include "shell/gl_context.h"
#include "shell/performance_counter.h"

namespace omra {

void setupScene() {
    requestSwapIntervalOne();
    const ViewportSize viewport = initialViewportSize();
    frameState.viewportWidth = viewport.width;
    frameState.viewportHeight = viewport.height;
    frameState.currentPage = assets.pages.empty() ? nullptr : &assets.pages.front();
    const std::int64_t frequency = performanceFrequency();
    startFrameClock(frameClock, frequency, performanceCounter());
    frameState.sceneTime = 0.0f;
}

} // namespace omra
