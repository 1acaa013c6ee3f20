#include "player/module_stream.h"

namespace omra {

ModuleStream::ModuleStream(const FileCallbacks& callbacks, void* handle)
    : callbacks_(callbacks), handle_(handle) {}

ModuleStream::~ModuleStream() {
    callbacks_.close(handle_);
}

std::int32_t ModuleStream::read(void* destination, std::int32_t count) {
    return callbacks_.read(destination, count, handle_);
}

void ModuleStream::seek(std::int32_t offset, std::uint8_t origin) {
    callbacks_.seek(handle_, offset, origin);
}

std::int32_t ModuleStream::tell() {
    return callbacks_.tell(handle_);
}

} // namespace omra
