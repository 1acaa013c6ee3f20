#pragma once

#include "core/text_page.h"

#include <cstdint>

namespace omra {

// The shared state of one frame, written by the main loop before each frame and read by the
// drawing code on the same thread.
struct FrameState {
    float sceneTime = 0.0f;
    float pageTime = 0.0f;
    std::uint32_t pageIndex = 0;
    const TextPage* currentPage = nullptr;
    std::int32_t pageXOffset = 0;
    // The window's client area, which is also the OpenGL viewport.
    std::int32_t viewportWidth = 0;
    std::int32_t viewportHeight = 0;
};

extern FrameState frameState;

} // namespace omra
