#include "assets/pack_resource.h"

#include <climits>
#include <unistd.h>

// The pack bytes, placed in the executable by pack_embedded.S.
extern "C" const std::uint8_t omraPackBegin[];
extern "C" const std::uint8_t omraPackEnd[];

namespace omra {

// The pack is linked into this executable, so every module name leads to the same bytes, and
// the look-up cannot fail the way a resource look-up can.
std::span<const std::uint8_t> findPackResource(const char* /*moduleName*/) {
    return {omraPackBegin, omraPackEnd};
}

std::string executablePath() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

} // namespace omra
