#include "render/frame.h"

namespace omra {

// The scene's drawing comes with the rendering work (issue #5); until then a frame draws nothing.
void renderFrame() {}

} // namespace omra
