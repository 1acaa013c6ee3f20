#pragma once

#include "records/song.h"

#include <cstdint>
#include <optional>

namespace omra::tools {

// What a live playback plays.
struct LivePlan {
    // How long to play; none plays until asked to quit.
    std::optional<std::uint64_t> frames;
    std::int32_t startOrder = 0;
    std::uint32_t silentChannels = 0;
    // Keys from a terminal on standard input: space pauses, left and right change order, q quits.
    bool keys = false;
};

// Plays the song on the sound device through the player's ring and audio thread, with a status
// line on stderr of what is heard now. Returns the exit code; throws std::runtime_error with the
// device's reason when no sound device opens.
int playLive(Song& song, const LivePlan& plan);

} // namespace omra::tools
