#include "render/scene_geometry.h"

namespace omra {

const std::array<float, 8> backgroundQuadVertices = {-1, 1, -1, -1, 1, 1, 1, -1};
// clang-format off
const std::array<float, 16> barVertices = {
    -1, 1,          -1, 0.9875f,    1, 1,          1, 0.9875f,
    -1, -0.9875f,   -1, -1,         1, -0.9875f,   1, -1,
};

namespace {

constexpr float C = 0.65f; // half the cube's edge
constexpr float N = 0.88f; // a spike face's normal: mostly along the face's axis,
constexpr float S = 0.47f; // tilted towards the edge the face stands on

} // namespace

// Each triangle's three corners share its normal and colour.
#define WHITE 1, 1, 1
#define PURPLE 0.5f, 0, 0.5f

const std::array<float, SpikedCubeVertexCount * SpikedCubeFloatsPerVertex> spikedCubeVertices = {
    // 0
    -C, -C, C,  0, -S, N,  WHITE,
    C, -C, C,  0, -S, N,  WHITE,
    0, 0, 1,  0, -S, N,  WHITE,
    // 1
    -C, -C, C,  -S, 0, N,  PURPLE,
    0, 0, 1,  -S, 0, N,  PURPLE,
    -C, C, C,  -S, 0, N,  PURPLE,
    // 2
    -C, C, C,  0, S, N,  WHITE,
    0, 0, 1,  0, S, N,  WHITE,
    C, C, C,  0, S, N,  WHITE,
    // 3
    C, C, C,  S, 0, N,  PURPLE,
    0, 0, 1,  S, 0, N,  PURPLE,
    C, -C, C,  S, 0, N,  PURPLE,
    // 4
    -C, -C, -C,  0, -S, -N,  WHITE,
    0, 0, -1,  0, -S, -N,  WHITE,
    C, -C, -C,  0, -S, -N,  WHITE,
    // 5
    -C, -C, -C,  -S, 0, -N,  PURPLE,
    -C, C, -C,  -S, 0, -N,  PURPLE,
    0, 0, -1,  -S, 0, -N,  PURPLE,
    // 6
    -C, C, -C,  0, S, -N,  WHITE,
    C, C, -C,  0, S, -N,  WHITE,
    0, 0, -1,  0, S, -N,  WHITE,
    // 7
    C, C, -C,  S, 0, -N,  PURPLE,
    C, -C, -C,  S, 0, -N,  PURPLE,
    0, 0, -1,  S, 0, -N,  PURPLE,
    // 8
    C, -C, -C,  N, 0, -S,  WHITE,
    C, C, -C,  N, 0, -S,  WHITE,
    1, 0, 0,  N, 0, -S,  WHITE,
    // 9
    C, -C, -C,  N, -S, 0,  PURPLE,
    1, 0, 0,  N, -S, 0,  PURPLE,
    C, -C, C,  N, -S, 0,  PURPLE,
    // 10
    C, -C, C,  N, 0, S,  WHITE,
    1, 0, 0,  N, 0, S,  WHITE,
    C, C, C,  N, 0, S,  WHITE,
    // 11
    C, C, C,  N, S, 0,  PURPLE,
    1, 0, 0,  N, S, 0,  PURPLE,
    C, C, -C,  N, S, 0,  PURPLE,
    // 12
    -C, -C, -C,  -N, 0, -S,  WHITE,
    -1, 0, 0,  -N, 0, -S,  WHITE,
    -C, C, -C,  -N, 0, -S,  WHITE,
    // 13
    -C, -C, -C,  -N, -S, 0,  PURPLE,
    -C, -C, C,  -N, -S, 0,  PURPLE,
    -1, 0, 0,  -N, -S, 0,  PURPLE,
    // 14
    -C, -C, C,  -N, 0, S,  WHITE,
    -C, C, C,  -N, 0, S,  WHITE,
    -1, 0, 0,  -N, 0, S,  WHITE,
    // 15
    -C, C, C,  -N, S, 0,  PURPLE,
    -C, C, -C,  -N, S, 0,  PURPLE,
    -1, 0, 0,  -N, S, 0,  PURPLE,
    // 16
    -C, C, -C,  0, N, -S,  PURPLE,
    0, 1, 0,  0, N, -S,  PURPLE,
    C, C, -C,  0, N, -S,  PURPLE,
    // 17
    -C, C, -C,  -S, N, 0,  WHITE,
    -C, C, C,  -S, N, 0,  WHITE,
    0, 1, 0,  -S, N, 0,  WHITE,
    // 18
    -C, C, C,  0, N, S,  PURPLE,
    C, C, C,  0, N, S,  PURPLE,
    0, 1, 0,  0, N, S,  PURPLE,
    // 19
    C, C, C,  S, N, 0,  WHITE,
    C, C, -C,  S, N, 0,  WHITE,
    0, 1, 0,  S, N, 0,  WHITE,
    // 20
    -C, -C, -C,  0, -N, -S,  PURPLE,
    C, -C, -C,  0, -N, -S,  PURPLE,
    0, -1, 0,  0, -N, -S,  PURPLE,
    // 21
    -C, -C, -C,  -S, -N, 0,  WHITE,
    0, -1, 0,  -S, -N, 0,  WHITE,
    -C, -C, C,  -S, -N, 0,  WHITE,
    // 22
    -C, -C, C,  0, -N, S,  PURPLE,
    0, -1, 0,  0, -N, S,  PURPLE,
    C, -C, C,  0, -N, S,  PURPLE,
    // 23
    C, -C, C,  S, -N, 0,  WHITE,
    0, -1, 0,  S, -N, 0,  WHITE,
    C, -C, -C,  S, -N, 0,  WHITE,
};
// clang-format on
#undef WHITE
#undef PURPLE

std::array<float, 16> logoQuadVertices(int width, int height, int imageWidth, int imageHeight) {
    // The left edge is centred in integer pixels; the top edge's 56th of the height is a
    // single-precision product.
    const auto x0 = static_cast<float>((width - imageWidth) / 2);
    const float y0 =
        static_cast<float>(height - imageHeight) - static_cast<float>(height) * 0.017857144f;
    const auto w = static_cast<float>(imageWidth);
    const auto h = static_cast<float>(imageHeight);
    return {x0, y0, 0, 1, x0, y0 + h, 0, 0, x0 + w, y0, 1, 1, x0 + w, y0 + h, 1, 0};
}

} // namespace omra
