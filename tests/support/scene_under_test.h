#pragma once

#include "support/headless_gl.h"

#include <cstdint>

namespace omra::headless {

// Sets up the scene once per process in a headless window of the default size, from whatever
// the caller has put into `assets` before the first call.
void setUpSceneOnce();

// Draws the frame at scene time t, with the first page where the schedule has it then (t up to
// 18 s), and returns the window's pixels.
Image renderWindowAt(float t);

// The same with the current page's lines starting at window x `pageXOffset`.
Image renderWindowAt(float t, std::int32_t pageXOffset);

// The off-screen image (background, stars and objects) of the last frame drawn.
Image offscreenImage();

} // namespace omra::headless
