#pragma once

#include "core/frame_clock.h"
#include "core/frame_state.h"
#include "core/text_page.h"

#include <cstdint>
#include <vector>

namespace omra {

// The main loop's work before each frame is drawn: take the time step from the counter reading,
// advance the scene and page times, and move the current page along its schedule.
void advanceFrame(FrameState& state, FrameClock& clock, std::int64_t counter,
                  const std::vector<TextPage>& pages);

// The frame state at frame `frame` of a steady clock of `framesPerSecond` frames a second, for
// drawing offline: scene time exactly frame / framesPerSecond (rounded once to float), and the
// pages where the main loop would have them had every time step been one frame.
void setFrameAtSteadyRate(FrameState& state, std::uint64_t frame, std::uint32_t framesPerSecond,
                          const std::vector<TextPage>& pages);

} // namespace omra
