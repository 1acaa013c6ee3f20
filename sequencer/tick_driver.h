#pragma once

#include "records/song.h"

namespace omra {

// The song's tick handler: advances the song by one tick and sets the voices of the player
// state it plays on (Song::player) for it. The song never ends: after its last order entry it
// goes on at the restart position.
void advanceTick(Song& song);

// Called at the end of every tick's work, before the tick count moves on, with the song as the
// tick left it; for the trace of a render. Runs wherever the mixer runs. None by default.
using TickObserver = void (*)(const Song& song, void* context);
void setTickObserver(TickObserver observer, void* context);

} // namespace omra
