#pragma once

#include "player/load_report.h"
#include "player/module_stream.h"
#include "records/song.h"

namespace omra {

// Fills a fresh song from an XM module read front to back through the stream. Refuses, with
// whatever it built left for the caller to release, a wrong identification text, more than 32
// channels, a pattern of more than 256 rows, an instrument with more than 16 samples, or an
// allocation that fails, and says which; a module it loads gives no reason. Either way it says
// where it first read past the end of the file, if it did.
LoadReport loadXm(Song& song, ModuleStream& stream);

} // namespace omra
