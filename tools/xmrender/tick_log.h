#pragma once

#include "records/song.h"
#include "records/xm_format.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

namespace omra::tools {

// Where the song is during one tick, and the output frame the tick begins at.
struct TickMark {
    std::uint64_t startFrame = 0;
    std::int32_t order = 0;
    std::int32_t pattern = 0;
    std::int32_t row = 0;
    std::int32_t speed = 0;
    std::int32_t bpm = 0;
    // How loud each channel is this tick, 0..255: the left and right gains of its two voices,
    // the playing note's and the one fading out, the louder of the two sums.
    std::array<std::uint8_t, xm::MaxChannels> levels{};
};

// The ticks the mixer has reached, written on the audio thread as it mixes and read on the main
// thread to tell what the loudspeaker plays, about two seconds behind. Holds the latest
// Capacity ticks: at 255 BPM, the shortest tick, that is over 40 s of sound.
class TickLog {
public:
    static constexpr std::size_t Capacity = 4096;

    void clear();
    void record(const TickMark& mark);
    // The tick whose frames hold `frame`: the latest that begins at or before it.
    std::optional<TickMark> at(std::uint64_t frame) const;

private:
    mutable std::mutex mutex_;
    std::array<TickMark, Capacity> marks_{};
    std::uint64_t count_ = 0;
};

// Puts `log` between the song and its tick handler: every tick is recorded with its start frame,
// counted from the next start of playback. `startOrder` other than 0 moves the first row tick
// there, as an order jump would. The song's own handler comes back with stopObserving.
void observeTicks(Song& song, TickLog& log, std::int32_t startOrder);
void stopObserving(Song& song);

} // namespace omra::tools
