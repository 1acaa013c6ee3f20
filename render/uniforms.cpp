#include "render/uniforms.h"

#include "core/frame_state.h"
#include "core/gl_function_table.h"

#include <glm/gtc/type_ptr.hpp>

namespace omra {

void writeResolution(GLint location) {
    const float resolution[2] = {static_cast<float>(frameState.viewportWidth),
                                 static_cast<float>(frameState.viewportHeight)};
    gl.Uniform2fv(location, 1, resolution);
}

void writeProjection(GLint location, const glm::mat4& projection) {
    gl.UniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(projection));
}

} // namespace omra
