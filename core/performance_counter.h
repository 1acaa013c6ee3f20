#pragma once

#include <cstdint>

namespace omra {

// The platform's high-resolution counter, in ticks, and its ticks per second.
std::int64_t performanceCounter();
std::int64_t performanceFrequency();

} // namespace omra
