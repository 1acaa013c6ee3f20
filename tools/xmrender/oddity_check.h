#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace omra::tools {

// Plays one pass of the module silently and lists every place where it meets one of the
// player's deliberate departures from a tracker (records/oddities.h), in the order they are
// met: "order O row R channel C: ..." (order and row from 0, channel from 1) or "instrument I:
// ..." (from 1), each saying what the listener hears and what to write for the tracker's
// behaviour. Throws std::runtime_error for a module the player cannot read.
std::vector<std::string> checkOddities(std::span<const std::uint8_t> bytes,
                                       const std::string& name);

} // namespace omra::tools
