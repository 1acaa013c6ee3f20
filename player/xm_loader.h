#pragma once

#include "player/module_stream.h"
#include "player/song.h"

namespace omra {

// Fills a fresh song from an XM module read front to back through the stream. Fails, with
// whatever it built left for the caller to release, on a wrong identification text, more than
// 32 channels, a pattern of more than 256 rows, an instrument with more than 16 samples, or an
// allocation that fails.
bool loadXm(Song& song, ModuleStream& stream);

} // namespace omra
