#pragma once

namespace omra {

// Everything between the context becoming current and the first pass of the main loop: the
// asset pack, the scene, then the song, loaded from the pack's module and started. A song that
// does not load or a device that does not open leaves the intro running silent.
void runStartup();

// Stops the music and releases the song.
void stopMusic();

} // namespace omra
