#include "art/letter_shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace omra::tools {

namespace {

double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}

} // namespace

std::span<const LetterShape> logoLetterShapes() {
    // Strokes 14 to 16 units thick, corners cut at 45 degrees.
    static const std::array<LetterShape, 4> Letters = {{
        {80,
         {{12, 0}, {68, 0}, {80, 12}, {80, 48}, {68, 60}, {12, 60}, {0, 48}, {0, 12}},
         {{{22, 16}, {58, 16}, {64, 22}, {64, 38}, {58, 44}, {22, 44}, {16, 38}, {16, 22}}}},
        {96,
         {{0, 8},
          {8, 0},
          {24, 0},
          {48, 22},
          {72, 0},
          {88, 0},
          {96, 8},
          {96, 60},
          {80, 60},
          {80, 15},
          {48, 44},
          {16, 15},
          {16, 60},
          {0, 60}},
         {}},
        {82,
         {{0, 0},
          {68, 0},
          {80, 12},
          {80, 33},
          {70, 43},
          {82, 60},
          {64, 60},
          {52, 45},
          {16, 45},
          {16, 60},
          {0, 60}},
         {{{16, 15}, {60, 15}, {64, 19}, {64, 27}, {60, 31}, {16, 31}}}},
        {84,
         {{16, 0},
          {68, 0},
          {84, 16},
          {84, 60},
          {68, 60},
          {68, 46},
          {16, 46},
          {16, 60},
          {0, 60},
          {0, 16}},
         {{{22, 16}, {62, 16}, {68, 22}, {68, 31}, {16, 31}, {16, 22}}}},
    }};
    return Letters;
}

double signedDistanceToPolygon(Point p, std::span<const Point> polygon) {
    // Nearest edge for the distance; crossings of a ray towards +x decide inside or outside.
    double nearest = INFINITY;
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point a = polygon[i], b = polygon[j];
        const Point edge{b.x - a.x, b.y - a.y}, toP{p.x - a.x, p.y - a.y};
        const double along = std::clamp(dot(toP, edge) / dot(edge, edge), 0.0, 1.0);
        const Point offset{toP.x - edge.x * along, toP.y - edge.y * along};
        nearest = std::min(nearest, dot(offset, offset));
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * edge.x / edge.y) {
            inside = !inside;
        }
    }
    return inside ? -std::sqrt(nearest) : std::sqrt(nearest);
}

double signedDistanceToLetter(Point p, const LetterShape& letter) {
    double distance = signedDistanceToPolygon(p, letter.outline);
    for (const std::vector<Point>& counter : letter.counters) {
        distance = std::max(distance, -signedDistanceToPolygon(p, counter));
    }
    return distance;
}

} // namespace omra::tools
