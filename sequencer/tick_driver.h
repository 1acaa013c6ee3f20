#pragma once

#include "player/song.h"

namespace omra {

// The song's tick handler: advances the song by one tick and sets the voices for it.
void advanceTick(Song& song);

} // namespace omra
