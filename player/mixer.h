#pragma once

#include "records/player_state.h"
#include "records/voice.h"

#include <cstdint>

namespace omra {

// Mixes the block at the write block index of the current song into both rings, calling the
// song's tick handler whenever a tick falls due, and advances the index (0..RingBlocks - 1).
void mixBlock(PlayerState& state);

// Adds `frames` frames of every active voice, in pool order, into the interleaved stereo float
// buffer `out`; nothing when frames <= 0. A voice whose bit is set in `silent` moves on exactly
// as it would, but adds nothing.
void mixVoices(VoicePool& voices, float* out, std::int32_t frames, std::uint64_t silent = 0);

// Rounds each of 2 x frames floats to the nearest integer (ties to even) and clamps it to
// signed 16 bits.
void convertBlock(std::int16_t* destination, const float* source, std::int32_t frames);

} // namespace omra
