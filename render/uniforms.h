#pragma once

#include "core/gl_api.h"

#include <glm/mat4x4.hpp>

namespace omra {

// Writes the window size, as the floats (W, H), to a "res" uniform of the current program.
void writeResolution(GLint location);

// Writes a column-major projection, untransposed, to a uniform of the current program.
void writeProjection(GLint location, const glm::mat4& projection);

} // namespace omra
