#include "sequencer/modulation.h"

#include "records/oddities.h"
#include "sequencer/waveforms.h"

#include <algorithm>

namespace omra {

namespace {

// Positions of the 64-step cycles run -32..31.
std::int8_t advanceCyclePosition(std::int8_t position, std::uint8_t speed) {
    std::int32_t next = position + speed;
    if (next > 31) {
        next -= 64;
    }
    return static_cast<std::int8_t>(next);
}

constexpr std::uint8_t WaveformThree = 3;
constexpr std::int32_t MaxWaveformValue = 255;

// Oddity: waveform 3 is a square for the vibrato but a sine for the tremolo.
// Kept: tunes that select waveform 3 were written against these shapes.
// Pinned by: Modulation.VibratoOffsetsThePeriodByWaveTimesDepthInStepsOf4 and
// Modulation.TremoloFollowsItsWaveformAndItsPositionWrapsPast31.
// Reported as "vibrato waveform 3 plays as a square..." or "tremolo waveform 3 ... a sine...".
void noteWaveformThree(const Channel& channel, std::uint8_t nibble, std::int32_t tremolo) {
    if (odditiesWatched() && (nibble & 3) == WaveformThree) {
        reportOddity(Oddity::WaveformThree, &channel, tremolo);
    }
}

} // namespace

void vibrato(Channel& channel) {
    const std::int32_t position = channel.vibratoPosition;
    const std::int32_t value = waveformValue(vibratoWaveform(channel.waveformControl), position);
    noteWaveformThree(channel, channel.waveformControl, 0);
    // Oddity: the two lowest bits are cleared, so the offset moves in steps of 4 period units.
    // Kept: vibrato depths in the tunes were chosen by ear with these steps.
    // Pinned by: Modulation.VibratoOffsetsThePeriodByWaveTimesDepthInStepsOf4.
    // Reported, for a depth whose peak loses more than an eighth to the steps, as "vibrato
    // depth y peaks at...".
    std::int32_t offset = ((value * channel.vibratoDepth) >> 5) & ~3;
    if (odditiesWatched()) {
        const std::int32_t peak = (MaxWaveformValue * channel.vibratoDepth) >> 5;
        if ((peak & 3) * 8 > peak) {
            reportOddity(Oddity::VibratoStepsOf4, &channel, channel.vibratoDepth, peak);
        }
    }
    if (position >= 0) {
        offset = -offset;
    }
    channel.periodOffset = offset;
    channel.updateFlags |= PitchChanged;
}

void advanceVibrato(Channel& channel) {
    channel.vibratoPosition = advanceCyclePosition(channel.vibratoPosition, channel.vibratoSpeed);
}

void tremolo(Channel& channel) {
    const std::int32_t position = channel.tremoloPosition;
    const std::int32_t value = waveformValue(tremoloWaveform(channel.waveformControl), position);
    noteWaveformThree(channel, channel.waveformControl >> 4, 1);
    std::int32_t depth = (value * channel.tremoloDepth) >> 6;
    if (position >= 0) {
        depth = std::min(depth, 64 - channel.volume);
        channel.volumeOffset = depth;
    } else {
        depth = std::min(depth, channel.volume);
        channel.volumeOffset = -depth;
    }
    channel.tremoloPosition = advanceCyclePosition(channel.tremoloPosition, channel.tremoloSpeed);
    channel.updateFlags |= VolumeChanged;
}

void tremor(Channel& channel) {
    if (channel.tremorCounter >= channel.tremorOnTicks) {
        channel.volumeOffset = -channel.volume;
    }
    channel.tremorCounter += 1;
    if (channel.tremorCounter >= channel.tremorOnTicks + channel.tremorOffTicks) {
        channel.tremorCounter = 0;
    }
    channel.updateFlags |= VolumeChanged;
}

void tonePortamento(Channel& channel) {
    const std::int32_t distance = 4 * channel.portamentoSpeed;
    if (channel.period < channel.portamentoTarget) {
        channel.period = static_cast<std::int32_t>(std::min<std::int64_t>(
            std::int64_t{channel.period} + distance, channel.portamentoTarget));
    } else if (channel.period > channel.portamentoTarget) {
        channel.period = static_cast<std::int32_t>(std::max<std::int64_t>(
            std::int64_t{channel.period} - distance, channel.portamentoTarget));
    }
    channel.updateFlags |= PitchChanged;
}

void autoVibrato(Channel& channel, const Instrument& instrument) {
    std::int32_t offset = instrument.vibratoDepth *
                          autoVibratoValue(instrument.vibratoType, channel.autoVibratoPosition);
    if (instrument.vibratoSweep != 0) {
        // Grows to full depth over the sweep's ticks after a note's instrument reset.
        offset = channel.autoVibratoSweepCounter * offset / instrument.vibratoSweep;
    }
    channel.periodOffset += offset >> 6;
    channel.autoVibratoSweepCounter =
        std::min<std::int32_t>(channel.autoVibratoSweepCounter + 1, instrument.vibratoSweep);
    channel.autoVibratoPosition += instrument.vibratoRate;
    if (channel.autoVibratoPosition > 255) {
        channel.autoVibratoPosition -= 256;
    }
    channel.updateFlags |= PitchChanged;
}

} // namespace omra
