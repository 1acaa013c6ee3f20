#pragma once

#include "tga/tga.h"

namespace omra::tools {

// A stand-in logo: "OMRA" in shaded block letters on black, 425 x 81 at 24 bits.
TgaImage placeholderLogo();

// A stand-in scroller glyph sheet, 512 x 512 at 32 bits: 16 x 16 cells of 32 x 32 pixels, code c
// in column c mod 16 and row c / 16 from the top; each printable code gets a framed mark of its
// bits in the cell's top-left 16 x 18 pixels.
TgaImage placeholderFontSheet();

} // namespace omra::tools
