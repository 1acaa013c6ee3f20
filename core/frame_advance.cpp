#include "core/frame_advance.h"

#include "core/page_schedule.h"

namespace omra {

void advanceFrame(FrameState& state, FrameClock& clock, std::int64_t counter,
                  const std::vector<TextPage>& pages) {
    const float dt = advanceFrameClock(clock, counter);
    state.sceneTime += dt;
    advancePageSchedule(state, dt, pages);
}

} // namespace omra
