#include "core/frame_advance.h"

#include "core/page_schedule.h"

namespace omra {

void advanceFrame(FrameState& state, FrameClock& clock, std::int64_t counter,
                  const std::vector<TextPage>& pages) {
    const float dt = advanceFrameClock(clock, counter);
    state.sceneTime += dt;
    advancePageSchedule(state, dt, pages);
}

void setFrameAtSteadyRate(FrameState& state, std::uint64_t frame, std::uint32_t framesPerSecond,
                          const std::vector<TextPage>& pages) {
    state.sceneTime = static_cast<float>(static_cast<double>(frame) / framesPerSecond);
    placePagesAtFrame(state, frame, framesPerSecond, pages);
}

} // namespace omra
