#include "core/frame_clock.h"

namespace omra {

FrameClock frameClock;

void startFrameClock(FrameClock& clock, std::int64_t frequency, std::int64_t counter) {
    clock.counterFrequency = frequency;
    clock.lastCounter = counter;
}

float advanceFrameClock(FrameClock& clock, std::int64_t counter) {
    const std::int64_t previous = clock.lastCounter;
    clock.lastCounter = counter;
    const std::int64_t delta = counter - previous;
    const float ticks = static_cast<float>(static_cast<double>(delta));
    const float frequency = static_cast<float>(static_cast<double>(clock.counterFrequency));
    return ticks / frequency;
}

} // namespace omra
