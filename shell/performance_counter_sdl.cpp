#include "core/performance_counter.h"

#include <SDL.h>

namespace omra {

std::int64_t performanceCounter() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t performanceFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

} // namespace omra
