#pragma once

#include "assets/text_page.h"
#include "core/frame_clock.h"
#include "core/frame_state.h"

#include <cstdint>
#include <vector>

namespace omra {

// The main loop's work before each frame is drawn: take the time step from the counter reading,
// advance the scene and page times, and move the current page along its schedule.
void advanceFrame(FrameState& state, FrameClock& clock, std::int64_t counter,
                  const std::vector<TextPage>& pages);

} // namespace omra
