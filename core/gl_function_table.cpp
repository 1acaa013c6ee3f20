#include "core/gl_function_table.h"

#include <stdexcept>
#include <string>

namespace omra {

GlFunctionTable gl;

namespace {

template <typename Function>
void resolve(Function& entry, GlEntryPointLookup lookUp, const char* name) {
    void* address = lookUp(name);
    if (address == nullptr) {
        throw std::runtime_error(std::string("OpenGL entry point not found: ") + name);
    }
    entry = reinterpret_cast<Function>(address);
}

} // namespace

void loadGlFunctionTable(GlEntryPointLookup lookUp) {
#define OMRA_GL_RESOLVE(type, name) resolve(gl.name, lookUp, "gl" #name);
    OMRA_GL_FUNCTIONS(OMRA_GL_RESOLVE)
#undef OMRA_GL_RESOLVE
}

} // namespace omra
