#include "shell/shutdown.h"

#include "core/gl_context.h"
#include "render/scene.h"
#include "shell/startup.h"

namespace omra {

void runShutdown() {
    // The audio thread ends here; from now on the main thread is alone.
    stopMusic();
    releaseScene();
    deleteRenderingContext();
    releaseGlLibrary();
}

} // namespace omra
