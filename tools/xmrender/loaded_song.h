#pragma once

#include "records/song.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace omra::tools {

struct SongRelease {
    void operator()(Song* song) const;
};
using LoadedSong = std::unique_ptr<Song, SongRelease>;

// Loads a module through the player's memory file, as the intro does. `bytes` must outlive the
// song. Throws std::runtime_error "NAME: reason" for a module the player would refuse or read
// past the end of, or one it cannot hold in memory.
LoadedSong loadModule(std::span<const std::uint8_t> bytes, const std::string& name);

} // namespace omra::tools
