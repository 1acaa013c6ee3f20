#pragma once

#include "sequencer/channel_tick.h"

// The volume column's commands. They act before the effect column on every tick, so both may
// act on one value in the same tick.
namespace omra {

void volumeColumnFirstTick(ChannelTick& tick);
void volumeColumnLaterTick(ChannelTick& tick);

} // namespace omra
