#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace omra {

// Holds a 64-bit intermediate to the int32 range. Valid modules never reach the limits; this
// keeps unbounded slides and malformed envelopes on malformed files free of overflow.
inline std::int32_t saturateToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace omra
