#include "art/logo.h"

#include "art/canvas.h"
#include "art/letter_shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace omra::tools {

namespace {

constexpr double Slant = 0.2;        // x shift per unit of height: an italic lean
constexpr double LetterGap = 10;     // design units between letters
constexpr double Left = 19, Top = 8; // pixels to the first letter's baseline corner, cap line
constexpr double OutlineWidth = 3;   // pixels of dark rim around the ink
constexpr double BevelWidth = 4;     // pixels of lit or shaded rim inside the ink
constexpr Point ShadowOffset{5, 5};  // pixels, down and to the right
constexpr double Horizon = 32;       // design y where the chrome's sky meets its ground
constexpr int Subsamples = 4;        // per axis, for anti-aliased edges

constexpr Colour Black{0, 0, 0};
constexpr Colour White{255, 255, 255};
constexpr Colour SkyTop{28, 44, 140};
constexpr Colour SkyHorizon{196, 238, 255};
constexpr Colour GroundHorizon{118, 52, 36};
constexpr Colour GroundBottom{255, 214, 112};
constexpr Colour BevelShade{44, 22, 78};
constexpr Colour Outline{14, 12, 40};
constexpr Colour Shadow{92, 34, 136};

// Towards the light, in page coordinates (y down): the upper left.
constexpr Point Light{-0.6, -0.8};

struct Sparkle {
    Point centre;
    double reach;
};
constexpr std::array<Sparkle, 2> Sparkles = {{{{35, 12}, 9}, {{395, 63}, 8}}};

// Each letter's left edge at the baseline, in pixels from the logo's left edge.
std::array<double, 4> letterOrigins() {
    std::array<double, 4> origins{};
    double x = Left;
    for (std::size_t i = 0; i < origins.size(); ++i) {
        origins[i] = x;
        x += logoLetterShapes()[i].width + LetterGap;
    }
    return origins;
}

// Chrome: the sky darkens upwards from the horizon, the ground brightens downwards.
Colour chrome(double designY) {
    if (designY < Horizon) {
        const double t = std::clamp(designY / Horizon, 0.0, 1.0);
        return mix(SkyTop, SkyHorizon, static_cast<float>(t * t));
    }
    const double t = std::clamp((designY - Horizon) / (CapHeight - Horizon), 0.0, 1.0);
    return mix(GroundHorizon, GroundBottom, static_cast<float>(std::sqrt(t)));
}

Point outwardNormal(Point p, double distance) {
    constexpr double Step = 0.25;
    const Point n{logoInkDistance(p.x + Step, p.y) - distance,
                  logoInkDistance(p.x, p.y + Step) - distance};
    const double length = std::hypot(n.x, n.y);
    return length > 0 ? Point{n.x / length, n.y / length} : Point{0, 0};
}

Colour letterColour(Point p, double distance) {
    Colour colour = chrome(p.y - Top);
    if (distance > -BevelWidth) {
        const Point n = outwardNormal(p, distance);
        const double facing = n.x * Light.x + n.y * Light.y;
        colour = facing > 0 ? mix(colour, White, static_cast<float>(0.75 * facing))
                            : mix(colour, BevelShade, static_cast<float>(-0.65 * facing));
    }
    return colour;
}

Colour layersAt(Point p) {
    const double distance = logoInkDistance(p.x, p.y);
    if (distance < 0) {
        return letterColour(p, distance);
    }
    if (distance < OutlineWidth) {
        return Outline;
    }
    if (logoInkDistance(p.x - ShadowOffset.x, p.y - ShadowOffset.y) < OutlineWidth) {
        return Shadow;
    }
    return Black;
}

// A four-pointed glint: thin arms tapering from a bright core.
double sparkleLight(Point p) {
    double light = 0;
    for (const Sparkle& sparkle : Sparkles) {
        const double dx = std::abs(p.x - sparkle.centre.x), dy = std::abs(p.y - sparkle.centre.y);
        const double across = std::max(0.0, 1 - dx / sparkle.reach) * std::max(0.0, 1 - dy / 0.9);
        const double down = std::max(0.0, 1 - dy / sparkle.reach) * std::max(0.0, 1 - dx / 0.9);
        const double core = std::max(0.0, 1 - std::hypot(dx, dy) / 2.5);
        light = std::max({light, across, down, core});
    }
    return light;
}

} // namespace

double logoInkDistance(double x, double yFromTop) {
    const double designY = yFromTop - Top;
    const double sheared = x - Slant * (CapHeight - designY);
    static const std::array<double, 4> Origins = letterOrigins();
    double distance = INFINITY;
    for (std::size_t i = 0; i < Origins.size(); ++i) {
        const LetterShape& letter = logoLetterShapes()[i];
        const Point local{sheared - Origins[i], designY};
        // A letter further away than the nearest one found so far cannot be nearer.
        const double boxGap =
            std::max({-local.x, local.x - letter.width, -local.y, local.y - CapHeight, 0.0});
        if (boxGap < distance) {
            distance = std::min(distance, signedDistanceToLetter(local, letter));
        }
    }
    return distance;
}

TgaImage drawLogo() {
    Canvas canvas(LogoWidth, LogoHeight);
    constexpr float Weight = 1.0f / (Subsamples * Subsamples);
    for (int y = 0; y < LogoHeight; ++y) {
        for (int x = 0; x < LogoWidth; ++x) {
            Colour sum;
            for (int sy = 0; sy < Subsamples; ++sy) {
                for (int sx = 0; sx < Subsamples; ++sx) {
                    const Point p{x + (sx + 0.5) / Subsamples, y + (sy + 0.5) / Subsamples};
                    const Colour c =
                        mix(layersAt(p), White, static_cast<float>(std::min(1.0, sparkleLight(p))));
                    sum = {sum.r + c.r * Weight, sum.g + c.g * Weight, sum.b + c.b * Weight};
                }
            }
            canvas.at(x, y) = sum;
        }
    }
    return canvas.toTga(LogoImageSize.bitsPerPixel);
}

} // namespace omra::tools
