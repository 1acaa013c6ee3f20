#pragma once

#include <cstdint>

// The five stream callbacks through which the player reads a module, so that it never depends
// on where the module bytes live.
namespace omra {

using OpenCallback = void* (*)(const void* name); // none: not opened
using CloseCallback = void (*)(void* handle);
using ReadCallback = std::int32_t (*)(void* destination, std::int32_t count, void* handle);
using SeekCallback = void (*)(void* handle, std::int32_t offset, std::uint8_t origin);
using TellCallback = std::int32_t (*)(void* handle);

// Seek origins.
inline constexpr std::uint8_t SeekFromStart = 0;
inline constexpr std::uint8_t SeekFromCurrent = 1;
inline constexpr std::uint8_t SeekFromEnd = 2;

struct FileCallbacks {
    OpenCallback open = nullptr;
    CloseCallback close = nullptr;
    ReadCallback read = nullptr;
    SeekCallback seek = nullptr;
    TellCallback tell = nullptr;

    bool complete() const { return open && close && read && seek && tell; }
};

} // namespace omra
