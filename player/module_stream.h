#pragma once

#include "records/file_callbacks.h"

#include <cstdint>

namespace omra {

// The loader's view of an open module: reads, seeks and tells through the installed callbacks
// with the handle the open callback returned.
class ModuleStream {
public:
    ModuleStream(const FileCallbacks& callbacks, void* handle);
    ModuleStream(const ModuleStream&) = delete;
    ModuleStream& operator=(const ModuleStream&) = delete;
    // Closes the stream through the close callback.
    ~ModuleStream();

    // Reads up to `count` bytes; bytes past the end of the file are left as they were.
    std::int32_t read(void* destination, std::int32_t count);
    void seek(std::int32_t offset, std::uint8_t origin);
    std::int32_t tell();

private:
    const FileCallbacks& callbacks_;
    void* handle_;
};

} // namespace omra
