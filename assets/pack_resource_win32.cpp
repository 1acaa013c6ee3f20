#include "assets/pack_resource.h"

#include <stdexcept>
#include <windows.h>

namespace omra {

std::span<const std::uint8_t> findPackResource(const char* moduleName) {
    HMODULE module = GetModuleHandleA(moduleName);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(PackResourceId), RT_RCDATA);
    if (resource == nullptr) {
        throw std::runtime_error("FindResource");
    }
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) {
        throw std::runtime_error("LoadResource");
    }
    const void* data = LockResource(loaded);
    if (data == nullptr) {
        throw std::runtime_error("LockResource");
    }
    const DWORD size = SizeofResource(module, resource);
    return {static_cast<const std::uint8_t*>(data), size};
}

std::string executablePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace omra
