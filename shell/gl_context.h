#pragma once

#include <cstdint>

// What scene set-up needs from the platform's OpenGL context, which the shell made current on
// the main thread before start-up.
namespace omra {

// Asks for one display refresh per buffer swap where the driver offers it.
void requestSwapIntervalOne();

struct ViewportSize {
    std::int32_t width;
    std::int32_t height;
};

// The size of the drawable the context started with: the window's client area.
ViewportSize initialViewportSize();

} // namespace omra
