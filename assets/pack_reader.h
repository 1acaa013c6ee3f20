#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace omra {

using Bytes = std::vector<std::uint8_t>;

// Splits the asset pack into its entries: each is a 32-bit little-endian length followed by that
// many payload bytes, one after another to the end of the pack. Throws std::runtime_error naming
// the entry when a length field or a payload runs past the end; nothing outside the pack is read.
std::vector<Bytes> splitPackEntries(std::span<const std::uint8_t> pack);

// Reads the entries of the asset pack stored in the named executable module.
std::vector<Bytes> readPackEntries(const char* moduleName);

} // namespace omra
