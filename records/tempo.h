#pragma once

#include "records/song.h"

#include <cstdint>

namespace omra {

// Sets the song's tempo: frames per tick = 110250 / bpm, as the tracker's 2.5 s / bpm tick.
// Playback's start and the sequencer's set-tempo effect both follow it.
void setTempo(Song& song, std::int32_t bpm);

} // namespace omra
