#include "capture/capture_plan.h"

#include "common/clock_time.h"
#include "records/mix_constants.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace omra::capture {

std::uint64_t CapturePlan::soundStart(std::uint64_t frame) const {
    return frame * MixRate / fps;
}

CapturePlan planCapture(const CaptureOptions& options, std::optional<std::uint64_t> passSamples) {
    CapturePlan plan;
    plan.fps = options.fps;
    plan.firstFrame = static_cast<std::uint64_t>(std::llround(options.start * options.fps));
    if (options.seconds) {
        plan.endFrame =
            plan.firstFrame + static_cast<std::uint64_t>(std::llround(*options.seconds * plan.fps));
        if (plan.endFrame == plan.firstFrame) {
            throw std::runtime_error("nothing to capture: --seconds is shorter than one frame at " +
                                     std::to_string(plan.fps) + " frames per second");
        }
        return plan;
    }
    // The last frame whose sound lies wholly within the pass.
    plan.endFrame = passSamples.value_or(0) * plan.fps / MixRate;
    if (plan.endFrame <= plan.firstFrame) {
        throw std::runtime_error(
            "--start " + tools::clockTime(options.start) +
            " is past the tune's pass, which ends at " +
            tools::clockTime(static_cast<double>(passSamples.value_or(0)) / MixRate));
    }
    return plan;
}

} // namespace omra::capture
