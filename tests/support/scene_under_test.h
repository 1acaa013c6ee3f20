#pragma once

#include "support/headless_gl.h"

namespace omra::headless {

// Sets up the scene once per process in a headless window of the default size, from whatever
// the caller has put into `assets` before the first call.
void setUpSceneOnce();

// Draws the frame at scene time t and returns the window's pixels.
Image renderWindowAt(float t);

// The off-screen image (background, stars and objects) of the last frame drawn.
Image offscreenImage();

} // namespace omra::headless
