#pragma once

#include "render/shader.h"
#include "render/vertex_array.h"

#include <memory>
#include <vector>

namespace omra {

// A star's clip-space position at scene time 0, and z: its speed and its size in pixels.
struct Star {
    float x;
    float y;
    float z;
};

// The 256 stars, the same on every start: drawn from a Mersenne Twister with its standard
// default seed, three outputs per star in the order x, y, z.
std::vector<Star> generateStars();

// The drifting points behind the objects, with their own program.
struct StarField {
    StarField();
    ~StarField();
    StarField(const StarField&) = delete;
    StarField& operator=(const StarField&) = delete;

    VertexArray mesh;
    std::vector<Star> stars;
    std::unique_ptr<Shader> program;
    GLint timeLocation = -1;
};

} // namespace omra
