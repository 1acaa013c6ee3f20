#pragma once

namespace omra {

// Prepares the scene once at start-up, with the context current: swap interval, viewport size,
// the first page, and the frame clock, which starts last.
void setupScene();

} // namespace omra
