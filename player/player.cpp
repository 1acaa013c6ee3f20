#include "player/player.h"

#include "player/module_stream.h"
#include "player/player_state.h"
#include "player/xm_loader.h"
#include "sequencer/tick_driver.h"

#include <new>

namespace omra {

void setFileCallbacks(OpenCallback open, CloseCallback close, ReadCallback read, SeekCallback seek,
                      TellCallback tell) {
    const FileCallbacks callbacks{open, close, read, seek, tell};
    player.fileCallbacks = callbacks.complete() ? callbacks : FileCallbacks{};
}

Song* loadSong(const void* name) {
    if (!player.fileCallbacks.complete()) {
        return nullptr;
    }
    Song* song = new (std::nothrow) Song;
    if (song == nullptr) {
        return nullptr;
    }
    void* handle = player.fileCallbacks.open(name);
    if (handle == nullptr) {
        delete song;
        return nullptr;
    }
    bool loaded;
    {
        ModuleStream stream(player.fileCallbacks, handle);
        loaded = loadXm(*song, stream);
    }
    if (!loaded) {
        delete song;
        return nullptr;
    }
    song->tickHandler = advanceTick;
    return song;
}

bool freeSong(Song* song) {
    if (song == nullptr) {
        return false;
    }
    stopPlayback(song);
    // The song owns its patterns, instruments and samples.
    delete song;
    return true;
}

} // namespace omra
