#pragma once

#include <array>

namespace omra {

// Background quad, (x, y) in clip space, drawn as one strip.
extern const std::array<float, 8> backgroundQuadVertices;

// The two bars, (x, y) in clip space, two strips of four: the top bar spans 0.9875 to 1 and the
// bottom bar -1 to -0.9875, each 1/160 of the window's height.
extern const std::array<float, 16> barVertices;

// The spiked cube: 24 triangles of (position, normal, colour); every face of a cube with corners
// at ±0.65 raised to a point at distance 1 on its axis. White triangles keep their colour on
// every instance, purple ones take the instance's.
inline constexpr int SpikedCubeVertexCount = 72;
inline constexpr int SpikedCubeFloatsPerVertex = 9;
extern const std::array<float, SpikedCubeVertexCount * SpikedCubeFloatsPerVertex>
    spikedCubeVertices;

// The logo's strip, (x, y, u, v) in sprite pixels, for a window of width × height and a logo
// image of imageWidth × imageHeight: centred on x by integer division, its top edge a 56th of
// the height below the window's top. v = 0 is the image's top row.
std::array<float, 16> logoQuadVertices(int width, int height, int imageWidth, int imageHeight);

} // namespace omra
