#include "sequencer/volume_column.h"

#include "records/oddities.h"
#include "sequencer/effects.h"
#include "sequencer/modulation.h"

namespace omra {

namespace {

// The command is the high nibble, its value the low one; 0x10..0x50 set the volume directly.
constexpr std::uint8_t SetVolumeFirst = 0x10;
constexpr std::uint8_t SetVolumeLast = 0x50;
constexpr std::uint8_t SlideDown = 0x6;
constexpr std::uint8_t SlideUp = 0x7;
constexpr std::uint8_t FineDown = 0x8;
constexpr std::uint8_t FineUp = 0x9;
constexpr std::uint8_t VibratoSpeed = 0xA;
constexpr std::uint8_t Vibrato = 0xB;
constexpr std::uint8_t SetPanning = 0xC;
constexpr std::uint8_t PanningLeft = 0xD;
constexpr std::uint8_t PanningRight = 0xE;
constexpr std::uint8_t TonePortamento = 0xF;

std::uint8_t command(const ChannelTick& tick) {
    return tick.cell.volumeColumn >> 4;
}

std::uint8_t value(const ChannelTick& tick) {
    return tick.cell.volumeColumn & 0x0F;
}

// Oddity: column panning slides have no limit (the effect column's slide stops at 0 and 255);
// only the final panning is held to 0..255, so a value slid outside must come back past the
// limit before it is heard to move. Kept: panning moves in the tunes were written against this.
// Pinned by: Effects.TickByTick/PortamentoUpStopsAt56AndOnlyTheColumnPanningSlideLeavesTheRange.
// Reported as "the column's panning slide takes the panning to P...".
void slidePanning(Channel& channel, std::int32_t delta) {
    channel.panning += delta;
    if (odditiesWatched() && (channel.panning < 0 || channel.panning > 255)) {
        reportOddity(Oddity::ColumnPanningLeavesRange, &channel, channel.panning);
    }
    channel.updateFlags |= PanningChanged;
}

// The commands that act alike on every tick of the row.
bool slideEveryTick(ChannelTick& tick) {
    Channel& channel = tick.channel;
    switch (command(tick)) {
    case SlideDown:
        addToVolume(channel, -value(tick));
        return true;
    case SlideUp:
        addToVolume(channel, value(tick));
        return true;
    case PanningLeft:
        slidePanning(channel, -value(tick));
        return true;
    case PanningRight:
        slidePanning(channel, value(tick));
        return true;
    default:
        return false;
    }
}

} // namespace

void volumeColumnFirstTick(ChannelTick& tick) {
    Channel& channel = tick.channel;
    const std::uint8_t column = tick.cell.volumeColumn;
    if (column >= SetVolumeFirst && column <= SetVolumeLast) {
        channel.volume = column - SetVolumeFirst;
        channel.updateFlags |= VolumeChanged;
        return;
    }
    if (slideEveryTick(tick)) {
        return;
    }
    switch (command(tick)) {
    case FineDown:
        addToVolume(channel, -value(tick));
        break;
    case FineUp:
        addToVolume(channel, value(tick));
        break;
    case VibratoSpeed:
        channel.vibratoSpeed = value(tick);
        break;
    case Vibrato:
        channel.vibratoDepth = value(tick);
        break;
    case SetPanning:
        channel.panning = value(tick) * 16;
        channel.updateFlags |= PanningChanged;
        break;
    case TonePortamento:
        if (value(tick) != 0) {
            channel.portamentoSpeed = static_cast<std::uint8_t>(value(tick) * 16);
        }
        channel.updateFlags &= ~Trigger;
        channel.portamentoTarget = channel.notePeriod;
        break;
    default:
        break;
    }
}

void volumeColumnLaterTick(ChannelTick& tick) {
    if (slideEveryTick(tick)) {
        return;
    }
    Channel& channel = tick.channel;
    switch (command(tick)) {
    case Vibrato:
        channel.vibratoDepth = value(tick);
        vibrato(channel);
        advanceVibrato(channel);
        break;
    case TonePortamento:
        tonePortamento(channel);
        break;
    default:
        break;
    }
}

} // namespace omra
