#include "fakes/fake_pack_resource.h"

#include "assets/pack_resource.h"

namespace omra {

namespace fake_pack_resource {
Bytes pack;
std::string requestedModule;
} // namespace fake_pack_resource

std::span<const std::uint8_t> findPackResource(const char* moduleName) {
    fake_pack_resource::requestedModule = moduleName;
    return fake_pack_resource::pack;
}

std::string executablePath() {
    return fake_pack_resource::ExecutablePath;
}

} // namespace omra
