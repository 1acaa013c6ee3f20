#pragma once

#include "capture/capture_options.h"
#include "capture/picture.h"

#include <cstdint>
#include <memory>
#include <span>

namespace omra::capture {

// Where a capture goes. Nothing appears under the output's name before `finish`; an output
// destroyed unfinished (an error, Ctrl-C) removes everything it wrote.
class CaptureOutput {
public:
    virtual ~CaptureOutput() = default;

    // The next frame and the sound that goes with it: 16-bit stereo at 44100 Hz, left first.
    virtual void add(const Picture& picture, std::span<const std::int16_t> sound) = 0;

    virtual void finish() = 0;
};

// The output the options name, opened at once, so that a path that cannot be written fails
// before any rendering. Throws std::runtime_error "PATH: reason".
std::unique_ptr<CaptureOutput> openCaptureOutput(const CaptureOptions& options);

} // namespace omra::capture
