#pragma once

#include <SDL.h>

namespace omra {

// Opens the "Omra" window, centred and of fixed size, with a current OpenGL 4.0 core context.
// Throws std::runtime_error with SDL's reason when either cannot be had.
SDL_Window* openSdlWindow();

// Releases the context and the window and shuts SDL down.
void closeSdlWindow(SDL_Window* window);

} // namespace omra
