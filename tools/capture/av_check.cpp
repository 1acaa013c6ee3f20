#include "capture/av_check.h"

#include <stdexcept>

extern "C" {
#include <libavutil/error.h>
}

namespace omra::capture {

int avCheck(int result, const std::string& what) {
    if (result < 0) {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, reason, sizeof reason);
        throw std::runtime_error(what + ": " + reason);
    }
    return result;
}

} // namespace omra::capture
