#pragma once

namespace omra {

// The end of the program, once the main loop has ended: the music stops and the song is freed,
// every GPU object of the scene is released while the context is still current, then the
// context is deleted and the OpenGL library let go, in that order.
void runShutdown();

} // namespace omra
