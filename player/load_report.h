#pragma once

#include <cstdint>

// What the player's loader says about a module, for the tools to tell their users: why it did
// not load it, or where the file ended before the module did.
namespace omra {

enum class RefusalReason : std::uint8_t {
    None,            // the module loaded
    NoStream,        // no stream callbacks, or the stream did not open
    NotXm,           // the file does not begin with the XM identification text
    TooManyChannels, // more channels than the channel table holds
    TooManyRows,     // a pattern of more rows than the format holds
    TooManySamples,  // an instrument of more samples than it has slots for
    OutOfMemory,
};

// The parts of a module file, in the order the loader reads them.
enum class ModulePart : std::uint8_t {
    None,
    Header,     // the module header with its order table
    Pattern,    // a pattern's header and packed cells
    Instrument, // an instrument's header and its sample headers
    SampleData, // the sample data that follows an instrument's sample headers
};

// The first read the file could not fill: the loader goes on with zeros, or with the sample
// frames that are there, so such a module loads.
struct ShortRead {
    ModulePart part = ModulePart::None;
    std::int32_t index = 0;    // the pattern or instrument, 0-based
    std::int64_t needed = 0;   // where that read ends: the module is at least this long
    std::int64_t fileSize = 0; // the bytes the file has

    bool happened() const { return part != ModulePart::None; }
};

struct LoadReport {
    constexpr LoadReport() = default;
    constexpr LoadReport(RefusalReason why, std::int32_t at = 0, std::uint32_t count = 0)
        : reason(why), index(at), declared(count) {}

    RefusalReason reason = RefusalReason::None;
    std::int32_t index = 0;     // the refused pattern or instrument, 0-based
    std::uint32_t declared = 0; // the channels, rows or samples the file declares
    ShortRead shortRead;        // of a module loaded, or refused after it

    bool refused() const { return reason != RefusalReason::None; }
};

} // namespace omra
