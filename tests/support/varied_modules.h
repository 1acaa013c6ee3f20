#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Modules made to cover what a module file can hold, for tests that damage them: 8- and 16-bit
// samples with every loop type, envelopes with sustain and loops, auto-vibrato, several samples
// per instrument and none, and many patterns of notes and effects, packed and unpacked.
namespace omra::testing {

struct NamedModule {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The writer-made modules and the shipped tune.
std::vector<NamedModule> variedModules();

} // namespace omra::testing
