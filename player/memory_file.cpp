#include "player/memory_file.h"

#include "player/player.h"
#include "records/file_callbacks.h"

#include <algorithm>
#include <limits>
#include <new>

namespace omra {

namespace {

std::span<const std::uint8_t> servedBytes;

MemoryFile& fileOf(void* handle) {
    return *static_cast<MemoryFile*>(handle);
}

} // namespace

void setMemoryFileBytes(std::span<const std::uint8_t> bytes) {
    servedBytes = bytes;
}

void* memoryFileOpen(const void* /*name*/) {
    // The player treats no handle as a file that did not open, so running out of memory here
    // must not throw.
    auto* file = new (std::nothrow) MemoryFile;
    if (file == nullptr) {
        return nullptr;
    }
    constexpr std::size_t largest = std::numeric_limits<std::int32_t>::max();
    file->size = static_cast<std::int32_t>(std::min(servedBytes.size(), largest));
    file->position = 0;
    file->base = servedBytes.data();
    return file;
}

void memoryFileClose(void* handle) {
    delete static_cast<MemoryFile*>(handle);
}

std::int32_t memoryFileRead(void* destination, std::int32_t count, void* handle) {
    MemoryFile& file = fileOf(handle);
    // Widened so that a huge count cannot wrap around past the end.
    if (count < 0) {
        count = 0;
    }
    if (static_cast<std::int64_t>(file.position) + count >= file.size) {
        count = file.size - file.position;
    }
    if (count > 0) {
        std::copy_n(file.base + file.position, count, static_cast<std::uint8_t*>(destination));
        file.position += count;
    }
    return count;
}

void memoryFileSeek(void* handle, std::int32_t offset, std::uint8_t origin) {
    MemoryFile& file = fileOf(handle);
    std::int64_t position = file.position;
    switch (origin) {
    case SeekFromStart:
        position = offset;
        break;
    case SeekFromCurrent:
        position += offset;
        break;
    case SeekFromEnd:
        position = static_cast<std::int64_t>(file.size) + offset;
        break;
    default:
        break;
    }
    // Below the start is clamped as well, so that no later read can begin before the bytes.
    file.position = static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, file.size));
}

std::int32_t memoryFileTell(void* handle) {
    return fileOf(handle).position;
}

Song* loadSongFromMemory(std::span<const std::uint8_t> bytes, LoadReport* report) {
    setMemoryFileBytes(bytes);
    setFileCallbacks(memoryFileOpen, memoryFileClose, memoryFileRead, memoryFileSeek,
                     memoryFileTell);
    return loadSong(bytes.data(), report);
}

} // namespace omra
