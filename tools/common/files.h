#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace omra::tools {

// The whole file. Throws std::runtime_error "PATH: reason" when it cannot be read.
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// Writes through a temporary file beside the target and renames it into place, so a failed
// write never leaves a half-written file under the target's name. Throws std::runtime_error
// "PATH: reason" on failure.
void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace omra::tools
