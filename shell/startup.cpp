#include "shell/startup.h"

#include "assets/assets.h"
#include "player/memory_file.h"
#include "player/player.h"
#include "render/scene_setup.h"

namespace omra {

namespace {

Song* song = nullptr;

} // namespace

void runStartup() {
    loadAssets();
    setupScene();
    song = loadSongFromMemory(assets.moduleBytes);
    startPlayback(song);
}

void stopMusic() {
    stopPlayback(song);
    freeSong(song);
    song = nullptr;
}

} // namespace omra
