#pragma once

#include <span>
#include <vector>

namespace omra::tools {

struct Point {
    double x = 0, y = 0;
};

// A letter as polygons in design units: y grows downward from the cap line (0) to the baseline
// (CapHeight), x from the letter's left edge. Counters are the holes cut out of the outline.
struct LetterShape {
    double width;
    std::vector<Point> outline;
    std::vector<std::vector<Point>> counters;
};

inline constexpr double CapHeight = 60;

// The four letters of the logo, O, M, R and A: heavy strokes with chamfered corners.
std::span<const LetterShape> logoLetterShapes();

// Distance from p to the polygon's edge, negative inside. Works for any simple polygon.
double signedDistanceToPolygon(Point p, std::span<const Point> polygon);

// Distance from p to the letter's ink, negative on the ink, positive in counters and outside.
double signedDistanceToLetter(Point p, const LetterShape& letter);

} // namespace omra::tools
