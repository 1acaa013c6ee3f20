#include "player/player.h"

#include "player/module_stream.h"
#include "player/xm_loader.h"
#include "records/player_state.h"
#include "sequencer/tick_driver.h"

#include <memory>
#include <new>

namespace omra {

void setFileCallbacks(OpenCallback open, CloseCallback close, ReadCallback read, SeekCallback seek,
                      TellCallback tell) {
    const FileCallbacks callbacks{open, close, read, seek, tell};
    player.fileCallbacks = callbacks.complete() ? callbacks : FileCallbacks{};
}

namespace {

LoadReport loadInto(Song& song, const void* name) {
    if (!player.fileCallbacks.complete()) {
        return {RefusalReason::NoStream};
    }
    void* handle = player.fileCallbacks.open(name);
    if (handle == nullptr) {
        return {RefusalReason::NoStream};
    }
    ModuleStream stream(player.fileCallbacks, handle);
    return loadXm(song, stream);
}

} // namespace

Song* loadSong(const void* name, LoadReport* report) {
    LoadReport outcome{RefusalReason::OutOfMemory};
    std::unique_ptr<Song> song(new (std::nothrow) Song);
    if (song != nullptr) {
        outcome = loadInto(*song, name);
    }
    if (report != nullptr) {
        *report = outcome;
    }
    if (outcome.refused()) {
        return nullptr;
    }
    song->tickHandler = advanceTick;
    return song.release();
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
