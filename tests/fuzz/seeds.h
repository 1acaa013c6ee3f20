#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Starting inputs for the fuzz targets, written by the test suite's own module and pack writers
// so that no binary corpus needs to be kept in the repository.
namespace omra::fuzz {

struct Seed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Modules that between them use every effect, every volume-column command, both envelopes with
// sustain and loops, forward, ping-pong and no sample loops, 8- and 16-bit samples, both
// frequency tables, and a loop of a few frames in a module small enough to be played for long.
std::vector<Seed> moduleSeeds();

// Small packs in the shipped pack's layout: images cut down to a few pixels, the scroller text
// and text pages from `dataDir`, and a small module; plus packs with no pages and empty entries.
std::vector<Seed> packSeeds(const std::filesystem::path& dataDir);

} // namespace omra::fuzz
