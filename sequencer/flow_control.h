#pragma once

#include "sequencer/channel_tick.h"

// The effects that steer playback through the song: order jump, pattern break, pattern loop,
// pattern delay, speed and tempo. They act on a row's first tick, channel by channel in
// ascending order, so a later channel overrides an earlier one.
namespace omra {

void orderJump(ChannelTick& tick, RowStart& row);
void patternBreak(ChannelTick& tick, const RowStart& row);
void patternLoop(ChannelTick& tick);
void patternDelay(ChannelTick& tick);
void setSpeedOrTempo(ChannelTick& tick);

} // namespace omra
