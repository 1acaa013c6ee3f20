#pragma once

#include "capture/capture_options.h"

#include <cstdint>
#include <optional>

namespace omra::capture {

// The frames a capture draws, on a clock of `fps` frames a second where frame k shows the scene
// at t = k / fps, and the samples that go with each: frame k's sound runs from soundStart(k) up
// to soundStart(k + 1), so picture and sound never drift apart, whatever the frame rate.
struct CapturePlan {
    std::uint32_t fps = 60;
    std::uint64_t firstFrame = 0;
    std::uint64_t endFrame = 0; // one past the last

    std::uint64_t frames() const { return endFrame - firstFrame; }
    std::uint64_t soundStart(std::uint64_t frame) const;
};

// A clip from the frame nearest --start, for --seconds or else up to the last whole frame of the
// tune's pass (`passSamples` long). Throws std::runtime_error when that leaves no frame.
CapturePlan planCapture(const CaptureOptions& options, std::optional<std::uint64_t> passSamples);

} // namespace omra::capture
