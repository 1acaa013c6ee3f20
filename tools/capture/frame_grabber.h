#pragma once

#include "capture/picture.h"
#include "core/gl_api.h"

#include <cstdint>

namespace omra::capture {

// The intro's scene on a headless OpenGL context: set up once from the embedded asset pack at
// the scene size, then drawn frame by frame on a steady clock and read back.
class FrameGrabber {
public:
    // Throws std::runtime_error when the context or the scene cannot be had.
    FrameGrabber(int sceneWidth, int sceneHeight, int scale);
    // Releases the scene, then the context, as the intro's shutdown does.
    ~FrameGrabber();
    FrameGrabber(const FrameGrabber&) = delete;
    FrameGrabber& operator=(const FrameGrabber&) = delete;

    // Draws frame `frame` of a clock of `fps` frames a second (t = frame / fps) and returns it,
    // each scene pixel enlarged to scale × scale. Valid until the next call.
    const Picture& grab(std::uint64_t frame, std::uint32_t fps);

private:
    PFNGLREADPIXELSPROC readPixels_ = nullptr;
    int scale_;
    std::vector<std::uint8_t> window_;
    Picture picture_;
};

} // namespace omra::capture
