#include "common/clock_time.h"

#include <cstdio>

namespace omra::tools {

std::string clockTime(double seconds) {
    const auto whole = static_cast<unsigned long long>(seconds < 0 ? 0 : seconds);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
    }
    return text;
}

} // namespace omra::tools
