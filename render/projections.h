#pragma once

#include <cstdint>
#include <glm/gtc/matrix_transform.hpp>

namespace omra {

// The camera of the objects and of the text sheet: a quarter of pi as a float, the window's
// aspect ratio, near 0.1, far 100.
inline glm::mat4 scenePerspective(std::int32_t width, std::int32_t height) {
    return glm::perspective(0.78539824f, static_cast<float>(width) / static_cast<float>(height),
                            0.1f, 100.0f);
}

} // namespace omra
