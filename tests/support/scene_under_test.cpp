#include "support/scene_under_test.h"

#include "render/frame.h"
#include "render/scene.h"
#include "render/scene_setup.h"
#include "shell/frame_state.h"

namespace omra::headless {

void setUpSceneOnce() {
    static const bool setUp = [] {
        openContext(windowWidth(), windowHeight());
        setupScene();
        return true;
    }();
    (void)setUp;
}

Image renderWindowAt(float t) {
    setUpSceneOnce();
    frameState.sceneTime = t;
    renderFrame();
    return readFramebuffer(0);
}

Image offscreenImage() {
    return readFramebuffer(scene.framebuffer->framebuffer);
}

} // namespace omra::headless
