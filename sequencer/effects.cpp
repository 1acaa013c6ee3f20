#include "sequencer/effects.h"

#include "records/oddities.h"
#include "sequencer/effect_types.h"
#include "sequencer/envelope.h"
#include "sequencer/flow_control.h"
#include "sequencer/modulation.h"
#include "sequencer/pitch.h"
#include "sequencer/row_processing.h"
#include "sequencer/saturate.h"
#include "sequencer/volume_column.h"

#include <algorithm>

namespace omra {

namespace {

constexpr std::int32_t MaxVolume = 64;
constexpr std::int32_t MaxPanning = 255;
constexpr std::int32_t HighestPortamentoUpPeriod = 56;
constexpr std::int32_t SampleOffsetUnit = 256; // frames per step of the 9xx parameter

void storeIfSet(std::uint8_t& memory, std::uint8_t value) {
    if (value != 0) {
        memory = value;
    }
}

// Slides have no limit; the period only saturates where 32 bits end.
void addToPeriod(Channel& channel, std::int64_t delta) {
    channel.period = saturateToInt32(channel.period + delta);
}

std::uint8_t highNibble(std::uint8_t value) {
    return value >> 4;
}

std::uint8_t lowNibble(std::uint8_t value) {
    return value & 0x0F;
}

// x raises, else y lowers; x wins when both are set.
void volumeSlide(Channel& channel) {
    const std::uint8_t memory = channel.volumeSlideMemory;
    if (highNibble(memory) != 0) {
        addToVolume(channel, highNibble(memory));
    } else if (lowNibble(memory) != 0) {
        addToVolume(channel, -lowNibble(memory));
    }
    channel.updateFlags |= VolumeChanged;
}

// A slide by its memory: x raises toward `top`, else y lowers toward 0; x wins when both are set.
// Only the direction moved in is limited.
std::int32_t slideByMemory(std::int32_t value, std::uint8_t memory, std::int32_t top) {
    if (highNibble(memory) != 0) {
        return std::min(value + highNibble(memory), top);
    }
    if (lowNibble(memory) != 0) {
        return std::max(value - lowNibble(memory), 0);
    }
    return value;
}

void globalVolumeSlide(Song& song) {
    song.globalVolume = slideByMemory(song.globalVolume, song.globalVolumeSlideMemory, MaxVolume);
}

void panningSlide(Channel& channel) {
    channel.panning = slideByMemory(channel.panning, channel.panningSlideMemory, MaxPanning);
    channel.updateFlags |= PanningChanged;
}

void sampleOffset(ChannelTick& tick) {
    Channel& channel = tick.channel;
    if (tick.cell.effectParam != 0) {
        channel.sampleOffsetMemory = tick.cell.effectParam;
    }
    const std::int64_t offset = std::int64_t{channel.sampleOffsetMemory} * SampleOffsetUnit;
    if (offset < std::int64_t{tick.sample.loopStart} + tick.sample.loopLength) {
        channel.voice->startOffset = static_cast<std::int32_t>(offset);
    } else {
        // Oddity: an offset past the sample's end starts no note, and the voice goes back to
        // the start of whatever it plays. Kept: tunes rely on 9xx as a silent rewind.
        // Pinned by: NoteVoices.SampleOffsetStartsInsideTheSampleAndPastItsEndRestartsNothing.
        // Reported as "sample offset O is past the sample's end...".
        channel.updateFlags &= ~Trigger;
        channel.updateFlags |= ResetPosition;
        if (odditiesWatched()) {
            reportOddity(Oddity::SampleOffsetPastEnd, &channel, static_cast<std::int32_t>(offset),
                         static_cast<std::int32_t>(tick.sample.loopStart + tick.sample.loopLength));
        }
    }
}

// The volume a multi-retrigger leaves, by its action 1..15.
std::int32_t retriggerVolume(std::uint8_t action, std::int32_t volume) {
    switch (action) {
    case 1:
        return volume - 1;
    case 2:
        return volume - 2;
    case 3:
        return volume - 4;
    case 4:
        return volume - 8;
    case 5:
        return volume - 16;
    case 6:
        return volume * 2 / 3;
    case 7:
        return volume / 2;
    case 9:
        return volume + 1;
    case 10:
        return volume + 2;
    case 11:
        return volume + 4;
    case 12:
        return volume + 8;
    case 13:
        return volume + 16;
    case 14:
        return volume * 3 / 2;
    case 15:
        return volume * 2;
    default:
        return volume;
    }
}

void multiRetrigger(ChannelTick& tick) {
    Channel& channel = tick.channel;
    if (channel.retriggerInterval == 0 || tick.song.tick % channel.retriggerInterval != 0) {
        return;
    }
    if (channel.retriggerAction != 0) {
        channel.volume =
            std::clamp(retriggerVolume(channel.retriggerAction, channel.volume), 0, MaxVolume);
        channel.updateFlags |= VolumeChanged;
    }
    channel.updateFlags |= Trigger;
}

void arpeggio(ChannelTick& tick) {
    if (tick.cell.effectParam == 0) {
        return;
    }
    Channel& channel = tick.channel;
    const std::int32_t phase = tick.song.tick % 3;
    if (phase != 0) {
        const std::int32_t semitones = phase == 1 ? tick.x() : tick.y();
        channel.periodOffset =
            semitoneOffset(tick.song, channel.realNote, tick.sample.finetune, semitones);
    }
    channel.updateFlags |= PitchChanged;
}

void extraFinePortamento(ChannelTick& tick) {
    Channel& channel = tick.channel;
    if (tick.x() == 1) {
        storeIfSet(channel.extraFineUpMemory, tick.y());
        addToPeriod(channel, -channel.extraFineUpMemory);
    } else if (tick.x() == 2) {
        storeIfSet(channel.extraFineDownMemory, tick.y());
        addToPeriod(channel, channel.extraFineDownMemory);
    }
}

// The note is held back on its row's first tick: pitch, volume and panning as before the cell.
void holdDelayedNote(Channel& channel, const RowStart& row) {
    channel.period = row.period;
    channel.volume = row.volume;
    channel.panning = row.panning;
    channel.updateFlags &= ~VoiceUpdateBits;
}

void startDelayedNote(ChannelTick& tick) {
    Channel& channel = tick.channel;
    if (tick.song.tick != tick.y()) {
        // Until the note starts, and after, only the auto-vibrato's pitch reaches the voice.
        channel.updateFlags &= ~VoiceUpdateBits;
        return;
    }
    resetInstrumentState(channel, tick.sample);
    channel.period = channel.notePeriod;
    channel.updateFlags |= PitchChanged;
    if (tick.cell.volumeColumn != 0) {
        volumeColumnFirstTick(tick);
    }
    channel.updateFlags |= Trigger;
}

void extendedFirstTick(ChannelTick& tick, RowStart& row) {
    Channel& channel = tick.channel;
    const std::uint8_t y = tick.y();
    switch (tick.x()) {
    case effect::FinePortamentoUp:
        storeIfSet(channel.finePortamentoUpMemory, y);
        addToPeriod(channel, -4 * channel.finePortamentoUpMemory);
        break;
    case effect::FinePortamentoDown:
        storeIfSet(channel.finePortamentoDownMemory, y);
        addToPeriod(channel, 4 * channel.finePortamentoDownMemory);
        break;
    case effect::VibratoWaveform:
        channel.waveformControl = (channel.waveformControl & 0xF0) | y;
        break;
    case effect::SetFinetune:
        // Oddity: y is taken as a finetune of 0..15 (a header's finetune is signed, -128..127),
        // and the sample itself changes, for every channel and every later note.
        // Kept: tunes that use E5y were written against this pitch.
        // Pinned by: Effects.TickByTick/SetFinetuneChangesTheSampleForEveryChannel.
        // Reported as "E5y sets finetune y on the sample itself...".
        // Not the stand-in for a missing sample: one record shared by every song, it stays zero.
        if (&tick.sample != &EmptySample) {
            tick.sample.finetune = static_cast<std::int8_t>(y);
            if (odditiesWatched()) {
                reportOddity(Oddity::FinetuneSetsTheSample, &channel, y);
            }
        }
        break;
    case effect::PatternLoop:
        patternLoop(tick);
        break;
    case effect::TremoloWaveform:
        channel.waveformControl =
            static_cast<std::uint8_t>((channel.waveformControl & 0x0F) | y << 4);
        break;
    case effect::SetPanningCoarse:
        channel.panning = y * 16;
        channel.updateFlags |= PanningChanged;
        break;
    case effect::FineVolumeUp:
        storeIfSet(channel.fineVolumeSlideMemory, y);
        addToVolume(channel, channel.fineVolumeSlideMemory);
        break;
    case effect::FineVolumeDown:
        storeIfSet(channel.fineVolumeSlideMemory, y);
        addToVolume(channel, -channel.fineVolumeSlideMemory);
        break;
    case effect::NoteDelay:
        holdDelayedNote(channel, row);
        break;
    case effect::PatternDelay:
        patternDelay(tick);
        break;
    default:
        break;
    }
}

void extendedLaterTick(ChannelTick& tick) {
    Channel& channel = tick.channel;
    const std::uint8_t y = tick.y();
    switch (tick.x()) {
    case effect::Retrigger:
        if (y != 0 && tick.song.tick % y == 0) {
            channel.updateFlags |= Trigger | PitchChanged | VolumeChanged;
        }
        break;
    case effect::NoteCut:
        if (tick.song.tick == y) {
            channel.volume = 0;
            channel.updateFlags |= VolumeChanged;
        }
        break;
    case effect::NoteDelay:
        startDelayedNote(tick);
        break;
    default:
        break;
    }
}

} // namespace

void addToVolume(Channel& channel, std::int32_t delta) {
    channel.volume = std::clamp(channel.volume + delta, 0, MaxVolume);
    channel.updateFlags |= VolumeChanged;
}

void effectFirstTick(ChannelTick& tick, RowStart& row) {
    Channel& channel = tick.channel;
    const std::uint8_t parameter = tick.cell.effectParam;
    switch (tick.cell.effect) {
    case effect::PortamentoUp:
        storeIfSet(channel.portamentoUpMemory, parameter);
        break;
    case effect::PortamentoDown:
        storeIfSet(channel.portamentoDownMemory, parameter);
        break;
    case effect::TonePortamento:
        storeIfSet(channel.portamentoSpeed, parameter);
        channel.portamentoTarget = channel.notePeriod;
        channel.updateFlags &= ~(Trigger | PitchChanged);
        break;
    case effect::Vibrato:
        storeIfSet(channel.vibratoSpeed, tick.x());
        storeIfSet(channel.vibratoDepth, tick.y());
        vibrato(channel);
        break;
    case effect::TonePortamentoVolumeSlide:
        channel.portamentoTarget = channel.notePeriod;
        storeIfSet(channel.volumeSlideMemory, parameter);
        channel.updateFlags &= ~(Trigger | PitchChanged);
        break;
    case effect::VibratoVolumeSlide:
        storeIfSet(channel.volumeSlideMemory, parameter);
        vibrato(channel);
        break;
    case effect::Tremolo:
        storeIfSet(channel.tremoloSpeed, tick.x());
        storeIfSet(channel.tremoloDepth, tick.y());
        break;
    case effect::SetPanning:
        channel.panning = parameter;
        channel.updateFlags |= PanningChanged;
        break;
    case effect::SampleOffset:
        sampleOffset(tick);
        break;
    case effect::VolumeSlide:
        storeIfSet(channel.volumeSlideMemory, parameter);
        break;
    case effect::OrderJump:
        orderJump(tick, row);
        break;
    case effect::SetVolume:
        channel.volume = std::min<std::int32_t>(parameter, MaxVolume);
        channel.updateFlags |= VolumeChanged;
        break;
    case effect::PatternBreak:
        patternBreak(tick, row);
        break;
    case effect::Extended:
        extendedFirstTick(tick, row);
        break;
    case effect::SpeedOrTempo:
        setSpeedOrTempo(tick);
        break;
    case effect::SetGlobalVolume:
        tick.song.globalVolume = std::min<std::int32_t>(parameter, MaxVolume);
        // Oddity: only this channel's voice hears the new global volume now; the others, and
        // every voice during a global volume slide (H), hear it when their volume is next pushed.
        // Kept: fades written with G and H were balanced by ear against this lag.
        // Pinned by: Effects.TickByTick/GlobalVolumeReachesAVoiceOnlyWhenItsVolumeIsPushed.
        // Reported as "global volume G reaches only this channel now...".
        channel.updateFlags |= VolumeChanged;
        if (odditiesWatched() && tick.song.channelCount > 1) {
            reportOddity(Oddity::GlobalVolumeLags, &channel, tick.song.globalVolume);
        }
        break;
    case effect::GlobalVolumeSlide:
        storeIfSet(tick.song.globalVolumeSlideMemory, parameter);
        break;
    case effect::SetEnvelopePosition:
        setVolumeEnvelopePosition(channel, tick.instrument, parameter);
        break;
    case effect::PanningSlide:
        if (parameter != 0) {
            channel.panningSlideMemory = parameter;
            channel.updateFlags |= PanningChanged;
        }
        break;
    case effect::MultiRetrigger:
        if (parameter != 0) {
            channel.retriggerAction = tick.x();
            channel.retriggerInterval = tick.y();
        }
        break;
    case effect::Tremor:
        if (parameter != 0) {
            channel.tremorOnTicks = tick.x() + 1;
            channel.tremorOffTicks = tick.y() + 1;
        }
        tremor(channel);
        break;
    case effect::ExtraFinePortamento:
        extraFinePortamento(tick);
        break;
    default:
        break;
    }
}

void effectLaterTick(ChannelTick& tick) {
    Channel& channel = tick.channel;
    switch (tick.cell.effect) {
    case effect::Arpeggio:
        arpeggio(tick);
        break;
    case effect::PortamentoUp:
        addToPeriod(channel, -4 * channel.portamentoUpMemory);
        // Oddity: portamento up stops at period 56, while portamento down and the fine and extra
        // fine slides have no limit. Kept: slides in the tunes land where they were written to.
        // Pinned by:
        // Effects.TickByTick/PortamentoUpStopsAt56AndOnlyTheColumnPanningSlideLeavesTheRange.
        // Reported as "portamento up stops at period 56...".
        if (odditiesWatched() && channel.period < HighestPortamentoUpPeriod) {
            reportOddity(Oddity::PortamentoUpStopsAt56, &channel, channel.period);
        }
        channel.period = std::max(channel.period, HighestPortamentoUpPeriod);
        channel.updateFlags |= PitchChanged;
        break;
    case effect::PortamentoDown:
        addToPeriod(channel, 4 * channel.portamentoDownMemory);
        channel.updateFlags |= PitchChanged;
        break;
    case effect::TonePortamento:
        tonePortamento(channel);
        break;
    case effect::Vibrato:
        vibrato(channel);
        advanceVibrato(channel);
        break;
    case effect::TonePortamentoVolumeSlide:
        tonePortamento(channel);
        volumeSlide(channel);
        break;
    case effect::VibratoVolumeSlide:
        vibrato(channel);
        advanceVibrato(channel);
        volumeSlide(channel);
        break;
    case effect::Tremolo:
        tremolo(channel);
        break;
    case effect::VolumeSlide:
        volumeSlide(channel);
        break;
    case effect::Extended:
        extendedLaterTick(tick);
        break;
    case effect::GlobalVolumeSlide:
        globalVolumeSlide(tick.song);
        break;
    case effect::PanningSlide:
        panningSlide(channel);
        break;
    case effect::MultiRetrigger:
        multiRetrigger(tick);
        break;
    case effect::Tremor:
        tremor(channel);
        break;
    default:
        break;
    }
}

} // namespace omra
