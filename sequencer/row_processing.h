#pragma once

#include "records/channel.h"
#include "records/song.h"

// The work of one tick on every channel: a row's first tick reads the cells, starts notes and
// runs the first-tick part of the effects; the other ticks run what keeps going. The state's
// channels play the song's pattern channels and drive its voices.
namespace omra {

struct PlayerState;

void processRow(Song& song, PlayerState& state);
void processTick(Song& song, PlayerState& state);

// What an instrument number on a row resets, from the sample it selects: volume, panning, both
// envelopes, key-off, fadeout and the auto-vibrato, and the vibrato and tremolo positions unless
// their waveform keeps them.
void resetInstrumentState(Channel& channel, const Sample& sample);

// The rows of the pattern at the song's order position.
std::int32_t currentPatternRows(const Song& song);

} // namespace omra
