#pragma once

#include <windows.h>

namespace omra {

// Obtains the WGL extension entry points through a hidden bootstrap window with a legacy
// context, then opens the "Omra" main window, whose creation builds the OpenGL 4.0 core context
// and makes it current. Throws std::runtime_error naming what is missing when a required entry
// point, a pixel format or the context cannot be had.
void openMainWindow(HINSTANCE instance);

// The main window's device context, kept for the life of the program.
HDC mainWindowDC();

} // namespace omra
