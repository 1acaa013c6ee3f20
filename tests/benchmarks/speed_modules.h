#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The modules the player's speed is measured on, the same for ours and for each reference
// player, in the order the table lists them.
namespace omra::benchmark {

struct SpeedModule {
    std::string name; // a given file's name without its directory
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> readModule(const std::string& path);

// The shipped tune, a generated 32-channel module that keeps every channel sounding, then each
// further file given.
std::vector<SpeedModule> speedModules(const std::vector<std::uint8_t>& shipped,
                                      std::span<char* const> furtherPaths);

} // namespace omra::benchmark
