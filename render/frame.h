#pragma once

namespace omra {

// Draws one frame of the scene from the shared frame state.
void renderFrame();

} // namespace omra
