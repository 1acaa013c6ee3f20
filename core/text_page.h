#pragma once

#include <cstdint>
#include <string>

namespace omra {

// One text page of the asset pack. The loader fills the text; the width (longest line, in
// characters) and the line count are measured by the text-page set-up before the first frame.
struct TextPage {
    std::string text;
    std::int32_t width = 0;
    std::int32_t lines = 0;
};

// The largest page that stays wholly on screen, which the pack tool holds pages to. Where the
// ripple brings the sheet nearest, the camera sees only 0.594 of its half-height either side of
// the middle; a page of L lines, centred by 8 pixels a line, reaches 8L - 12 pixels below the
// middle, so at the Windows client height of 501 pixels its last line stays on screen only up
// to 20 lines. Across, 100 characters fit.
inline constexpr std::int32_t PageLinesOnScreen = 20;
inline constexpr std::int32_t PageColumnsOnScreen = 100;

} // namespace omra
