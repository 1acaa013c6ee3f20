#pragma once

#include <cstdint>

namespace omra {

// Turns performance-counter readings into single-precision time steps.
struct FrameClock {
    std::int64_t counterFrequency = 0;
    std::int64_t lastCounter = 0;
};

extern FrameClock frameClock;

void startFrameClock(FrameClock& clock, std::int64_t frequency, std::int64_t counter);

// Seconds since the previous reading. The counter difference and the frequency are each taken
// through double to float and divided in single precision, so both builds step alike.
float advanceFrameClock(FrameClock& clock, std::int64_t counter);

} // namespace omra
