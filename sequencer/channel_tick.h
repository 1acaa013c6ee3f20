#pragma once

#include "records/channel.h"
#include "records/song.h"

#include <cstdint>

// What the effects of one channel see on one tick.
namespace omra {

struct ChannelTick {
    Song& song;
    Channel& channel;
    const PatternCell& cell;
    // Chosen for this tick from the channel's instrument and note; stand-ins when missing.
    const Instrument& instrument;
    Sample& sample;

    std::uint8_t x() const { return cell.effectParam >> 4; }
    std::uint8_t y() const { return cell.effectParam & 0x0F; }
};

// What a row's first tick keeps for its effects: the channel's pitch, volume and panning from
// before the cell acted (for the note delay) and whether an order jump came in an earlier
// channel of the row.
struct RowStart {
    std::int32_t period;
    std::int32_t volume;
    std::int32_t panning;
    bool& orderJumpSeen;
};

} // namespace omra
