#include "sequencer/flow_control.h"

#include "records/oddities.h"
#include "records/tempo.h"

namespace omra {

namespace {

constexpr std::int32_t LastBreakRow = 63;
constexpr std::uint8_t FirstTempo = 32; // F below this sets the speed

} // namespace

void orderJump(ChannelTick& tick, RowStart& row) {
    Song& song = tick.song;
    const std::int32_t order = tick.cell.effectParam;
    song.nextOrder = order < song.songLength ? order : 0;
    song.nextRow = 0;
    row.orderJumpSeen = true;
}

void patternBreak(ChannelTick& tick, const RowStart& row) {
    Song& song = tick.song;
    // Written in decimal digits; the low one may go past 9.
    const std::int32_t target = 10 * tick.x() + tick.y();
    song.nextRow = target > LastBreakRow ? 0 : target;
    if (!row.orderJumpSeen) {
        song.nextOrder = song.orderPosition + 1;
    }
    // Oddity: a break on the last order entry goes to order 0, while the song's natural end
    // goes to its restart position. Kept: songs that end with a break loop where written to.
    // Pinned by: RowEngine.TickByTick/ABreakOnTheLastOrderGoesToTheStartNotTheRestartPosition.
    // Reported as "the break on the last order goes to order 0, not to the restart...".
    if (song.nextOrder >= song.songLength) {
        song.nextOrder = 0;
        if (odditiesWatched() && song.restartPosition != 0) {
            reportOddity(Oddity::BreakOnLastOrder, &tick.channel, song.restartPosition);
        }
    }
}

void patternLoop(ChannelTick& tick) {
    Channel& channel = tick.channel;
    const std::int32_t count = tick.cell.effectParam & 0x0F;
    if (count == 0) {
        channel.loopStartRow = tick.song.row;
        return;
    }
    channel.loopCounter = channel.loopCounter == 0 ? count : channel.loopCounter - 1;
    if (channel.loopCounter != 0) {
        tick.song.nextRow = channel.loopStartRow;
    }
}

void patternDelay(ChannelTick& tick) {
    tick.song.patternDelay = tick.song.speed * (tick.cell.effectParam & 0x0F);
}

void setSpeedOrTempo(ChannelTick& tick) {
    const std::uint8_t parameter = tick.cell.effectParam;
    if (parameter < FirstTempo) {
        tick.song.speed = parameter;
    } else {
        setTempo(tick.song, parameter);
    }
}

} // namespace omra
