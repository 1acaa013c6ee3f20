#pragma once

#include "records/player_state.h"
#include "records/song.h"

namespace omra {

// Puts the song at its start and makes it the state's current song, and the state the one the
// song plays on: position, speed, tempo and global volume reset, every voice cleared with its
// index and a step of exactly 1.0, the next tick due now.
void resetPlayback(PlayerState& state, Song& song);

// Asks the song, put at its start, to begin at order position `order` instead, as an order jump
// there would: the first row tick moves to it. Order 0 asks nothing.
void startAtOrder(Song& song, std::int32_t order);

// Allocates both rings, zero-filled; false when memory is short.
bool createRings(PlayerState& state);

} // namespace omra
