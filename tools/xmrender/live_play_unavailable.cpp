#include "xmrender/live_play.h"

#include <stdexcept>

namespace omra::tools {

// Live playback goes through the Linux intro's SDL sound path; this build has none.
int playLive(Song&, const LivePlan&) {
    throw std::runtime_error("--play needs the Linux build");
}

} // namespace omra::tools
