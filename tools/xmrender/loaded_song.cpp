#include "xmrender/loaded_song.h"

#include "player/memory_file.h"
#include "player/player.h"
#include "xm/xm_check.h"

#include <optional>
#include <stdexcept>

namespace omra::tools {

void SongRelease::operator()(Song* song) const {
    freeSong(song);
}

LoadedSong loadModule(std::span<const std::uint8_t> bytes, const std::string& name) {
    LoadReport report;
    LoadedSong song(loadSongFromMemory(bytes, &report));
    if (const std::optional<std::string> problem = xmModuleProblem(bytes, report)) {
        throw std::runtime_error(name + ": " + *problem);
    }
    return song;
}

} // namespace omra::tools
