#pragma once

namespace omra {

// Everything between the context becoming current and the first pass of the main loop: the
// asset pack, then the scene.
void runStartup();

} // namespace omra
