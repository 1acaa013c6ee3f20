#pragma once

#include "core/frame_state.h"
#include "core/text_page.h"

#include <cstdint>
#include <vector>

namespace omra {

// Where a page of `widthChars` characters (8 pixels each) enters, rests and leaves on a viewport
// `viewportWidth` pixels wide: it enters 256 pixels beyond the right edge, rests centred, and
// leaves until its right edge is 256 pixels beyond the left edge.
struct PageGeometry {
    float start;
    float centre;
    float exit;
};

PageGeometry pageGeometry(std::int32_t widthChars, std::int32_t viewportWidth);

// The page's x position at page time t within its 18-second cycle (t <= 18): slide in for 5 s,
// hold for 5 s, slide out for 5 s, wait off-screen for 3 s. Each bound belongs to the earlier
// phase.
float pageX(const PageGeometry& geometry, float t);

// Advances the page time by dt, switches to the next page once the cycle has passed 18 s, and
// sets the page x offset. With no pages the schedule runs on with no page to show.
void advancePageSchedule(FrameState& state, float dt, const std::vector<TextPage>& pages);

// The schedule at frame `frame` of a steady clock of `framesPerSecond` frames a second, frame 0
// at page time 0: where advancePageSchedule puts the pages when every step is exactly one frame,
// worked out directly rather than summed, so no rounding builds up over a long run. Each page
// then holds the screen for its 18 s and the frame that passes them.
void placePagesAtFrame(FrameState& state, std::uint64_t frame, std::uint32_t framesPerSecond,
                       const std::vector<TextPage>& pages);

} // namespace omra
