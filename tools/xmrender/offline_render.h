#pragma once

#include "records/song.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace omra::tools {

// The longest a one-pass render runs, for songs that never come back.
inline constexpr std::uint64_t PassLimitSeconds = 30 * 60;

// What an offline render plays: where it starts and stops, and which channels are heard.
struct RenderPlan {
    // A fixed length in frames; without it the render plays `passes` passes of the song: a pass
    // ends where playback first comes back to an order position it has played in that pass.
    std::optional<std::uint64_t> frames;
    int passes = 1;
    // The longest a render by passes may run, for songs that never come back.
    std::uint64_t passLimitFrames = 0;
    // The order position playback starts at, as a jump there would.
    std::int32_t startOrder = 0;
    // Bit c set: channel c (from 0) is silenced at the mixer; the sequencer runs as in the mix.
    std::uint32_t silentChannels = 0;
};

struct RenderResult {
    std::uint64_t frames = 0;
    bool cameBack = false; // the passes ended where the song came back
};

// Plays a loaded song through the intro's own mixer and sequencer, block by block, exactly as
// the audio thread would, and hands each piece of 16-bit stereo PCM to `sink`. `progress` is
// called with the frames rendered so far after every block.
RenderResult renderSong(Song& song, const RenderPlan& plan,
                        const std::function<void(std::span<const std::int16_t>)>& sink,
                        const std::function<void(std::uint64_t)>& progress);

} // namespace omra::tools
