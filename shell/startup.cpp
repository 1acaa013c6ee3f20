#include "shell/startup.h"

#include "assets/assets.h"
#include "render/scene_setup.h"

namespace omra {

void runStartup() {
    loadAssets();
    setupScene();
}

} // namespace omra
