#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Modules made to cover what a module file can hold, written by the project's own writer so that
// no binary corpus is kept in the repository: between them every effect and volume-column
// command with several parameters, both envelopes with sustain and loops, auto-vibrato and
// fadeout, forward, ping-pong and no sample loops, 8- and 16-bit samples, several samples per
// instrument and none, both frequency tables, patterns packed, unpacked and stored without
// cells, order entries that name patterns the file lacks, cells no tracker writes, and loops of
// a frame or two in a module small enough to be played for long. The fuzz targets start from
// them, the Windows build's renders are compared with the native ones on them, and the unit
// tests damage them.
namespace omra::testing {

struct NamedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Each module under a file name of its own.
std::vector<NamedFile> coveringModules();

} // namespace omra::testing
