#pragma once

#include "capture/capture_output.h"
#include "capture/capture_plan.h"
#include "capture/frame_grabber.h"
#include "records/song.h"

#include <cstdint>
#include <functional>

namespace omra::capture {

// The length of one pass of the song, in samples, as xmrender measures it; `poll` is called
// between blocks and may throw to stop.
std::uint64_t measurePass(Song& song, const std::function<void()>& poll);

// Plays the song from its start through the intro's player and draws the plan's frames in step
// with it: each frame is drawn once its sound has been mixed, and goes to the output with that
// sound. The sound before the plan's first frame is mixed and dropped. `progress` hears the
// frames done after every frame and between blocks of sound, and may throw to stop.
void captureInLockstep(const CapturePlan& plan, Song& song, FrameGrabber& grabber,
                       CaptureOutput& output, const std::function<void(std::uint64_t)>& progress);

} // namespace omra::capture
