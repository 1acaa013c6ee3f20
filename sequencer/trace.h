#pragma once

#include "records/player_state.h"
#include "records/song.h"

#include <cstdint>
#include <string>
#include <vector>

// A record of the sequencer's state after a tick: where the song is, what every channel plays
// and what its voice was told. Renders write it so a musician can see why a note sounds as it
// does, and tests check the replay logic on it.
namespace omra {

struct ChannelTrace {
    std::int32_t note;       // 0-based, as the channel last named it
    std::int32_t instrument; // 0-based
    std::int32_t period;
    std::int32_t periodOffset;
    std::int32_t volume;
    std::int32_t volumeOffset;
    std::int32_t panning;
    std::int32_t volumeEnvelope;  // 0..64
    std::int32_t panningEnvelope; // 0..64, 32 = centre
    std::int32_t fadeout;         // 65536 = full
    bool keyOff;
    std::int32_t voice;
    bool sounding; // the voice has a sample
    std::int32_t frequency;
    std::int32_t gainLeft;
    std::int32_t gainRight;
    std::uint32_t position; // whole frames
};

struct TickTrace {
    std::int32_t orderPosition;
    std::int32_t pattern;
    std::int32_t row;
    std::int32_t tick;
    std::int32_t speed;
    std::int32_t bpm;
    std::int32_t globalVolume;
    std::vector<ChannelTrace> channels;
};

TickTrace captureTick(const Song& song, const PlayerState& state);

// One line per channel, fields as name=value, notes by name (C-4 is note 48).
std::string formatTick(const TickTrace& trace);

} // namespace omra
