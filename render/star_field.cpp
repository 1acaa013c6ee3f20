#include "render/star_field.h"

#include "core/gl_function_table.h"
#include "render/programs.h"

#include <random>

namespace omra {

namespace {

constexpr int StarCount = 256;

// One output of the generator as a single-precision fraction; the rounding can make it 1.
float unitFraction(std::mt19937& generator) {
    return static_cast<float>(generator()) / 4294967296.0f;
}

} // namespace

std::vector<Star> generateStars() {
    std::mt19937 generator(5489u);
    std::vector<Star> stars;
    stars.reserve(StarCount);
    for (int i = 0; i < StarCount; ++i) {
        const float x = unitFraction(generator) * 2.4f - 1.2f;
        const float y = 2.0f * unitFraction(generator) - 1.0f;
        const float z = unitFraction(generator) * 1.7f + 0.3f;
        stars.push_back({x, y, z});
    }
    return stars;
}

StarField::StarField() : stars(generateStars()) {
    mesh = generateVertexArray();
    program = buildStarProgram();
    gl.UseProgram(program->program());
    timeLocation = program->uniformLocation("time");
    std::vector<float> vertices;
    vertices.reserve(stars.size() * 3);
    for (const Star& star : stars) {
        vertices.insert(vertices.end(), {star.x, star.y, star.z});
    }
    recordLayout(mesh, vertices, 0, {{3, 0}});
}

StarField::~StarField() {
    gl.DeleteBuffers(1, &mesh.buffer);
    gl.DeleteVertexArrays(1, &mesh.vertexArray);
}

} // namespace omra
