#pragma once

#include <cstdint>
#include <string>

namespace omra::tools {

// A list of channels as trackers number them, from 1: "1,3-5". Bit c - 1 of the result stands
// for channel c. Throws a UsageError naming `option` for a list that does not parse or names a
// channel outside 1..32.
std::uint32_t parseChannelList(const std::string& option, const std::string& text);

// The channels a render hears: the soloed ones (all when none is), less the muted ones, as bits.
// Throws a UsageError naming a channel the module, of `channelCount` channels, lacks.
std::uint32_t heardChannels(std::uint32_t solo, std::uint32_t mute, int channelCount);

} // namespace omra::tools
