#pragma once

#include "records/song.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace omra::tools {

// The longest a one-pass render runs, for songs that never come back.
inline constexpr std::uint64_t PassLimitSeconds = 30 * 60;

// Where an offline render stops.
struct RenderLength {
    // A fixed length in frames; without it the render plays one pass of the song: until
    // playback first comes back to an order position it has already played.
    std::optional<std::uint64_t> frames;
    // The longest a one-pass render may run, for songs that never come back.
    std::uint64_t passLimitFrames = 0;
};

struct RenderResult {
    std::uint64_t frames = 0;
    bool cameBack = false; // the one pass ended where the song came back
};

// Plays a loaded song through the intro's own mixer and sequencer, block by block, exactly as
// the audio thread would, and hands each piece of 16-bit stereo PCM to `sink`. `progress` is
// called with the frames rendered so far after every block.
RenderResult renderSong(Song& song, const RenderLength& length,
                        const std::function<void(std::span<const std::int16_t>)>& sink,
                        const std::function<void(std::uint64_t)>& progress);

} // namespace omra::tools
