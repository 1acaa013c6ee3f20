#pragma once

namespace omra {

// Builds the scene once at start-up, with the context current and the assets loaded: swap
// interval, OpenGL function table, viewport size, every GPU object, program and uniform that
// does not change per frame, then the frame clock, which starts last. Throws the wrappers'
// std::runtime_error when a program, image or the off-screen target cannot be built.
void setupScene();

} // namespace omra
