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

} // namespace omra
