#pragma once

#include "sequencer/channel_tick.h"

// The effect column: what each effect does on the first tick of its row and on the ticks after.
namespace omra {

void effectFirstTick(ChannelTick& tick, RowStart& row);
void effectLaterTick(ChannelTick& tick);

// Moves the channel volume by `delta`, held to 0..64.
void addToVolume(Channel& channel, std::int32_t delta);

} // namespace omra
