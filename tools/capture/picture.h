#pragma once

#include <cstdint>
#include <vector>

namespace omra::capture {

// One frame as the outputs take it: RGBA, 8 bits a channel, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

} // namespace omra::capture
