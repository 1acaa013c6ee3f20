#pragma once

#include "assets/pack_layout.h"
#include "tga/tga.h"

namespace omra::tools {

inline constexpr int LogoWidth = LogoImageSize.width;
inline constexpr int LogoHeight = LogoImageSize.height;

// The logo: "OMRA" in slanted chrome letters (a blue sky over a golden ground, split at a
// horizon) with a bevel lit from the upper left, a dark outline, a violet drop shadow and two
// sparkles, on pure black. 24 bits, uncompressed.
TgaImage drawLogo();

// Distance in pixels from the point (x, y), y counted down from the image's top edge, to the
// edge of the letters' ink: negative on the ink, positive in the counters and around the letters.
double logoInkDistance(double x, double yFromTop);

} // namespace omra::tools
