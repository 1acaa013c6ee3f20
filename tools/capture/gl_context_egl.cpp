#include "core/gl_context.h"
#include "headless/headless_context_egl.h"

// The capture draws into the headless context's stand-in window.
namespace omra {

void requestSwapIntervalOne() {
    headless_egl::requestSwapIntervalOne();
}

void* lookUpGlEntryPoint(const char* name) {
    return headless_egl::entryPoint(name);
}

void deleteRenderingContext() {
    headless_egl::deleteContext();
}

void releaseGlLibrary() {
    headless_egl::terminateDisplay();
}

} // namespace omra
