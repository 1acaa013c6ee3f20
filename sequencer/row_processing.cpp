#include "sequencer/row_processing.h"

#include "records/oddities.h"
#include "records/player_state.h"
#include "sequencer/channel_tick.h"
#include "sequencer/effect_types.h"
#include "sequencer/effects.h"
#include "sequencer/envelope.h"
#include "sequencer/modulation.h"
#include "sequencer/pitch.h"
#include "sequencer/voice_update.h"
#include "sequencer/volume_column.h"

#include <algorithm>

namespace omra {

namespace {

constexpr std::uint8_t KeepPositionNibble = 4; // waveform nibbles from here keep their position

struct InstrumentChoice {
    const Instrument& instrument;
    Sample& sample;
};

// The instrument and sample a channel plays: stand-ins for a missing instrument, a sample map
// entry past the instrument's slots, or an empty slot.
InstrumentChoice chooseInstrument(const Song& song, const Channel& channel) {
    if (channel.instrument >= song.instrumentCount) {
        return {EmptyInstrument, EmptySample};
    }
    const Instrument& instrument = song.instruments[channel.instrument];
    const std::uint8_t slot = instrument.sampleMap[channel.note];
    Sample* sample = slot < xm::MaxSamplesPerInstrument ? instrument.samples[slot] : nullptr;
    return {instrument, sample != nullptr ? *sample : EmptySample};
}

const Pattern* currentPattern(const Song& song) {
    const std::int32_t number = song.orderTable[song.orderPosition];
    return number < song.patternSlots ? &song.patterns[number] : nullptr;
}

// The cells of the song's current row, one per channel; none when the pattern has no storage.
const PatternCell* currentRowCells(const Song& song) {
    const Pattern* pattern = currentPattern(song);
    if (pattern == nullptr || !pattern->cells || song.row >= pattern->rows) {
        return nullptr;
    }
    return &pattern->cells[static_cast<std::size_t>(song.row) * song.channelCount];
}

// Envelopes and fadeout, on every tick.
// Oddity: on the row tick a released note whose instrument has no volume envelope falls silent
// until the next instrument number; a note alone does not bring it back.
// Kept: tunes use a key-off as the note's end.
// Pinned by:
// Notes.TickByTick/AReleasedNoteWithoutVolumeEnvelopeIsSilentUntilTheNextInstrumentNumber.
// Reported, for a note this silences, as "this note stays silent: ...".
void advanceEnvelopes(Channel& channel, const Instrument& instrument, bool rowTick) {
    const EnvelopeShape volumeShape = volumeEnvelopeShape(instrument);
    const EnvelopeState volumeState = volumeEnvelopeState(channel);
    if (envelopeRuns(volumeShape, volumeState)) {
        stepEnvelope(channel, volumeState, volumeShape, VolumeChanged);
    } else if (rowTick && (volumeShape.flags & EnvelopeOn) == 0 && channel.keyOff != 0) {
        channel.volumeEnvelopeOutput = 0;
        if (odditiesWatched() && (channel.updateFlags & Trigger) != 0) {
            reportOddity(Oddity::ReleasedNoteStaysSilent, &channel);
        }
    }
    const EnvelopeShape panningShape = panningEnvelopeShape(instrument);
    const EnvelopeState panningState = panningEnvelopeState(channel);
    if (envelopeRuns(panningShape, panningState)) {
        stepEnvelope(channel, panningState, panningShape, PanningChanged);
    }
    if (channel.keyOff != 0) {
        channel.fadeoutVolume = std::max(channel.fadeoutVolume - instrument.fadeout, 0);
        channel.updateFlags |= VolumeChanged;
    }
}

void finishTick(ChannelTick& tick, VoicePool& voices) {
    autoVibrato(tick.channel, tick.instrument);
    updateVoice(tick.channel, tick.sample, tick.song, voices);
}

void processRowCell(Song& song, Channel& channel, VoicePool& voices, const PatternCell& cell,
                    bool& orderJumpSeen) {
    const bool tonePortamentoRow = effect::isTonePortamento(cell.effect);
    const bool hasNote = xm::isNote(cell.note);
    if (cell.instrument != 0 && !tonePortamentoRow) {
        channel.instrument = cell.instrument - 1;
    }
    if (hasNote && !tonePortamentoRow) {
        channel.note = cell.note - 1;
    }
    const InstrumentChoice choice = chooseInstrument(song, channel);
    ChannelTick tick{song, channel, cell, choice.instrument, choice.sample};
    RowStart row{channel.period, channel.volume, channel.panning, orderJumpSeen};

    // Oddity: a tremolo that stops leaves its last offset in the volume.
    // Kept: the volume after a tremolo in the tunes depends on it.
    // Pinned by: Effects.TickByTick/AStoppedTremoloLeavesItsLastOffset.
    // Reported as "the tremolo stops and leaves its last offset...".
    if (channel.lastEffect == effect::Tremolo && cell.effect != effect::Tremolo) {
        channel.volume += channel.volumeOffset;
        if (odditiesWatched() && channel.volumeOffset != 0) {
            reportOddity(Oddity::TremoloOffsetStays, &channel, channel.volumeOffset);
        }
    }
    channel.volumeOffset = 0;
    channel.updateFlags = 0;
    channel.lastEffect = cell.effect;

    if (hasNote) {
        channel.realNote = static_cast<std::uint8_t>(cell.note - 1 + choice.sample.relativeNote);
        channel.notePeriod = notePeriod(song, channel.realNote, choice.sample.finetune);
        if (!tonePortamentoRow) {
            channel.period = channel.notePeriod;
        }
        channel.updateFlags = Trigger;
    }
    channel.periodOffset = 0;
    channel.updateFlags |= PitchChanged | VolumeChanged;

    // Only an instrument number resets volume, panning, envelopes and fadeout; a note alone
    // restarts the sample and keeps them.
    if (cell.instrument != 0) {
        resetInstrumentState(channel, choice.sample);
    }
    if (cell.volumeColumn != 0) {
        volumeColumnFirstTick(tick);
    }
    if (cell.note == StoredKeyOff || cell.effect == effect::KeyOff) {
        channel.keyOff = 1;
    }
    advanceEnvelopes(channel, choice.instrument, true);
    effectFirstTick(tick, row);
    finishTick(tick, voices);
}

} // namespace

std::int32_t currentPatternRows(const Song& song) {
    const Pattern* pattern = currentPattern(song);
    return pattern != nullptr ? pattern->rows : EmptyPatternRows;
}

void resetInstrumentState(Channel& channel, const Sample& sample) {
    channel.volume = sample.volume;
    channel.panning = sample.panning;
    channel.volumeEnvelopeOutput = 64;
    channel.panningEnvelopeOutput = 32;
    for (const EnvelopeState& state :
         {volumeEnvelopeState(channel), panningEnvelopeState(channel)}) {
        state.tick = 0;
        state.point = 0;
        state.slope = 0;
        state.finished = 0;
    }
    channel.keyOff = 0;
    channel.fadeoutVolume = 65536;
    channel.autoVibratoPosition = 0;
    channel.autoVibratoSweepCounter = 0;
    if ((channel.waveformControl & 0x0F) < KeepPositionNibble) {
        channel.vibratoPosition = 0;
    }
    if ((channel.waveformControl >> 4) < KeepPositionNibble) {
        channel.tremoloPosition = 0;
    }
    channel.tremorCounter = 0;
    channel.updateFlags |= VolumeChanged | PanningChanged;
}

void processRow(Song& song, PlayerState& state) {
    song.nextOrder = -1;
    song.nextRow = -1;
    const PatternCell* cells = currentRowCells(song);
    if (cells == nullptr) {
        return;
    }
    bool orderJumpSeen = false;
    for (std::int32_t i = 0; i < song.channelCount; ++i) {
        processRowCell(song, state.channels[i], state.voices, cells[i], orderJumpSeen);
    }
}

void processTick(Song& song, PlayerState& state) {
    const PatternCell* cells = currentRowCells(song);
    if (cells == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < song.channelCount; ++i) {
        Channel& channel = state.channels[i];
        const InstrumentChoice choice = chooseInstrument(song, channel);
        ChannelTick tick{song, channel, cells[i], choice.instrument, choice.sample};
        channel.volumeOffset = 0;
        channel.periodOffset = 0;
        channel.updateFlags = 0;
        advanceEnvelopes(channel, choice.instrument, false);
        volumeColumnLaterTick(tick);
        effectLaterTick(tick);
        finishTick(tick, state.voices);
    }
}

} // namespace omra
