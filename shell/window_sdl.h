#pragma once

#include <SDL.h>

namespace omra {

// Opens the "Omra" window, centred and of fixed size, with a current OpenGL 4.0 core context.
// Throws std::runtime_error with SDL's reason when either cannot be had, and one saying so,
// before trying, when there is no display. The shutdown sequence
// releases both through shell/gl_context.h.
SDL_Window* openSdlWindow();

} // namespace omra
