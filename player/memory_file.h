#pragma once

#include "player/load_report.h"
#include "records/song.h"

#include <cstdint>
#include <span>

// The host's module file: the module bytes the shell holds, served through the player's five
// stream callbacks.
namespace omra {

struct MemoryFile {
    std::int32_t size;
    std::int32_t position;
    const std::uint8_t* base;
};

// The bytes every memory file opened from now on serves; they outlive the files.
void setMemoryFileBytes(std::span<const std::uint8_t> bytes);

void* memoryFileOpen(const void* name);
void memoryFileClose(void* handle);
std::int32_t memoryFileRead(void* destination, std::int32_t count, void* handle);
void memoryFileSeek(void* handle, std::int32_t offset, std::uint8_t origin);
std::int32_t memoryFileTell(void* handle);

// Loads the module held in `bytes` as the intro loads its own: installs the memory file's
// callbacks over the bytes and loads the song through them. No song when it is refused; the
// report as for loadSong.
Song* loadSongFromMemory(std::span<const std::uint8_t> bytes, LoadReport* report = nullptr);

} // namespace omra
