#pragma once

#include <cstdint>

// Why the player did not load a module, for the tools to tell their users.
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

struct LoadRefusal {
    RefusalReason reason = RefusalReason::None;
    std::int32_t index = 0;     // the refused pattern or instrument, 0-based
    std::uint32_t declared = 0; // the channels, rows or samples the file declares

    bool refused() const { return reason != RefusalReason::None; }
};

} // namespace omra
