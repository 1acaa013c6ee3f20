#pragma once

#include "player/load_report.h"
#include "records/file_callbacks.h"
#include "records/song.h"

// The module player's five public operations. The player never throws: failures are a false result
// or no song.
namespace omra {

// Installs the five stream callbacks, or clears all five when any is missing.
void setFileCallbacks(OpenCallback open, CloseCallback close, ReadCallback read, SeekCallback seek,
                      TellCallback tell);

// Loads a module through the stream callbacks; `name` goes to the open callback unchanged.
// Returns no song when the stream does not open or the module is refused. Through `report`, if
// given, tells why, or where the file ended before the module.
Song* loadSong(const void* name, LoadReport* report = nullptr);

// Starts the song from its beginning on the wave device. False for no song, missing callbacks,
// or a device that does not open; playback is stopped first in every case.
bool startPlayback(Song* song);

// Ends playback; false for no song.
bool stopPlayback(Song* song);

// Stops playback and releases the song; false for no song.
bool freeSong(Song* song);

} // namespace omra
