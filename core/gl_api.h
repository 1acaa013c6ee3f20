#pragma once

// OpenGL's types, tokens and entry-point signatures, without the platform's window headers.
// 32-bit Windows calls OpenGL with the stdcall convention; saying so here keeps the header from
// pulling in <windows.h> to learn it.
#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#endif
#include <GL/glcorearb.h>
