#include "assets/pack_reader.h"

#include "assets/pack_resource.h"
#include "core/little_endian.h"

#include <stdexcept>
#include <string>

namespace omra {

namespace {

[[noreturn]] void rejectEntry(std::size_t index, const char* what) {
    throw std::runtime_error("ReadPack: entry " + std::to_string(index) + "'s " + what +
                             " runs past the end of the pack");
}

} // namespace

std::vector<Bytes> splitPackEntries(std::span<const std::uint8_t> pack) {
    std::vector<Bytes> entries;
    std::size_t offset = 0;
    while (offset < pack.size()) {
        const std::size_t index = entries.size();
        if (pack.size() - offset < 4) {
            rejectEntry(index, "length field");
        }
        const std::uint32_t length = readU32LE(pack.data() + offset);
        offset += 4;
        if (pack.size() - offset < length) {
            rejectEntry(index, "payload");
        }
        entries.emplace_back(pack.begin() + offset, pack.begin() + offset + length);
        offset += length;
    }
    return entries;
}

std::vector<Bytes> readPackEntries(const char* moduleName) {
    return splitPackEntries(findPackResource(moduleName));
}

} // namespace omra
