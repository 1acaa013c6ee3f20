#include "support/scene_under_test.h"

#include "core/frame_state.h"
#include "core/page_schedule.h"
#include "render/frame.h"
#include "render/scene.h"
#include "render/scene_setup.h"

#include <cstdlib>

namespace omra::headless {

void setUpSceneOnce() {
    static const bool setUp = [] {
        openContext(windowWidth(), windowHeight());
        setupScene();
        // Released before the process ends, while the context is still there.
        std::atexit(releaseScene);
        return true;
    }();
    (void)setUp;
}

Image renderWindowAt(float t) {
    setUpSceneOnce();
    // The first page where its schedule has it after t seconds (scene and page time together).
    std::int32_t offset = 0;
    if (frameState.currentPage != nullptr) {
        const PageGeometry geometry =
            pageGeometry(frameState.currentPage->width, frameState.viewportWidth);
        offset = static_cast<std::int32_t>(pageX(geometry, t));
    }
    return renderWindowAt(t, offset);
}

Image renderWindowAt(float t, std::int32_t pageXOffset) {
    setUpSceneOnce();
    frameState.sceneTime = t;
    frameState.pageXOffset = pageXOffset;
    renderFrame();
    return readFramebuffer(0);
}

Image offscreenImage() {
    return readFramebuffer(scene.framebuffer->framebuffer);
}

} // namespace omra::headless
