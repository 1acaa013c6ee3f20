#include "core/gl_context.h"

#include <windows.h>

namespace omra {

namespace {

// opengl32 exports the OpenGL 1.1 functions itself; wglGetProcAddress returns only the later
// ones. Loaded at the first lookup, freed at shutdown.
HMODULE glLibrary = nullptr;

HMODULE openGlLibrary() {
    if (glLibrary == nullptr) {
        glLibrary = LoadLibraryA("opengl32.dll");
    }
    return glLibrary;
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

void releaseGlLibrary() {
    if (glLibrary != nullptr) {
        FreeLibrary(glLibrary);
        glLibrary = nullptr;
    }
}

} // namespace omra
