#include "shell/gl_context.h"

#include <windows.h>

namespace omra {

namespace {

// opengl32 exports the OpenGL 1.1 functions itself; wglGetProcAddress returns only the later
// ones. The library stays loaded for the life of the program.
HMODULE openGlLibrary() {
    static const HMODULE library = LoadLibraryA("opengl32.dll");
    return library;
}

} // namespace

void* lookUpGlEntryPoint(const char* name) {
    const HMODULE library = openGlLibrary();
    // Only null counts as a miss: any other value the driver returns is taken as the entry point.
    PROC entry = wglGetProcAddress(name);
    if (entry == nullptr) {
        entry = GetProcAddress(library, name);
    }
    return reinterpret_cast<void*>(entry);
}

} // namespace omra
