#pragma once

#include "records/voice.h"

#include <array>
#include <cstdint>

// The sequencer's state for one pattern channel.
namespace omra {

// Bits of Channel::updateFlags: what updateVoice pushes to the channel's voice this tick. They
// live for one tick, and a later step may take back what an earlier one set, so the order of
// the steps decides what reaches the voice. For each channel, every tick:
//
//  1. Row and tick processing clear them. On a row's first tick a note then sets exactly
//     Trigger, and PitchChanged and VolumeChanged are set whatever the cell holds; an
//     instrument number's reset sets VolumeChanged and PanningChanged.
//  2. The volume column sets the bit of what it changes; its tone portamento (Fx) clears
//     Trigger, so the new note's pitch is taken without a restart.
//  3. The envelopes and the fadeout set VolumeChanged and PanningChanged as they move.
//  4. The effect column sets the bit of what it changes, and takes back: tone portamento (3, 5)
//     clears Trigger and PitchChanged; a sample offset past the sample's end clears Trigger and
//     sets ResetPosition; a note delay clears VoiceUpdateBits on every tick but its own, where
//     it sets Trigger again; a retrigger sets Trigger.
//  5. The auto-vibrato always sets PitchChanged, so a held-back note's voice still follows it.
//  6. updateVoice reads them, once: it drops PitchChanged for a period of 0, then acts on
//     Trigger (note start), VolumeChanged, PanningChanged, PitchChanged and ResetPosition, in
//     that order.
inline constexpr std::uint8_t PitchChanged = 1 << 0;
inline constexpr std::uint8_t VolumeChanged = 1 << 1;
inline constexpr std::uint8_t PanningChanged = 1 << 2;
inline constexpr std::uint8_t Trigger = 1 << 3;
inline constexpr std::uint8_t ResetPosition = 1 << 5;
// Everything a delayed note holds back until its tick comes.
inline constexpr std::uint8_t VoiceUpdateBits =
    PitchChanged | VolumeChanged | PanningChanged | Trigger;

struct Channel {
    std::uint8_t note;        // last note, 0-based; indexes the instrument's sampleMap
    std::uint8_t updateFlags; // cleared at the start of every tick
    Voice* voice;             // voice i or i + 32 for channel i
    std::int32_t period;
    std::int32_t volume;       // 0..64
    std::int32_t panning;      // 128 = centre
    std::int32_t volumeOffset; // tremolo or tremor, this tick only
    std::int32_t periodOffset; // vibrato, arpeggio and auto-vibrato, this tick only
    std::int32_t volumeEnvelopeTick;
    std::int32_t volumeEnvelopePoint;  // the next point
    std::int32_t volumeEnvelopeValue;  // 16.16
    std::int32_t volumeEnvelopeOutput; // 0..64
    std::int32_t volumeEnvelopeSlope;  // 16.16 per tick
    std::uint8_t volumeEnvelopeFinished;
    std::int32_t panningEnvelopeTick;
    std::int32_t panningEnvelopePoint;
    std::int32_t panningEnvelopeValue;
    std::int32_t panningEnvelopeOutput; // 0..64, 32 = no change
    std::int32_t panningEnvelopeSlope;
    std::uint8_t panningEnvelopeFinished;
    std::int32_t fadeoutVolume;       // 65536 = full
    std::int32_t autoVibratoPosition; // 0..255
    std::int32_t autoVibratoSweepCounter;
    std::uint8_t keyOff;
    std::uint8_t instrument; // 0-based
    std::uint8_t realNote;   // note + the sample's relative note, 8-bit wrap
    std::int32_t notePeriod; // period of the last note named on a row
    std::uint8_t lastEffect; // effect type of the previous row
    std::int32_t sampleOffsetMemory;
    std::uint8_t portamentoDownMemory;
    std::uint8_t portamentoUpMemory;
    std::uint8_t extraFineDownMemory;
    std::uint8_t extraFineUpMemory;
    std::uint8_t volumeSlideMemory;
    std::uint8_t panningSlideMemory;
    std::uint8_t retriggerAction;
    std::uint8_t retriggerInterval;
    std::int32_t portamentoTarget;
    std::uint8_t portamentoSpeed; // the period moves by 4 x this per tick
    std::int8_t vibratoPosition;  // -32..31
    std::uint8_t vibratoSpeed;
    std::uint8_t vibratoDepth;
    std::int8_t tremoloPosition; // -32..31
    std::uint8_t tremoloSpeed;
    std::uint8_t tremoloDepth;
    std::uint8_t tremorCounter;
    std::uint8_t tremorOnTicks;
    std::uint8_t tremorOffTicks;
    std::int32_t loopStartRow;
    std::int32_t loopCounter;
    // Low nibble: vibrato waveform; high nibble: tremolo waveform. A nibble of 4 or more keeps
    // that position across an instrument reset.
    std::uint8_t waveformControl;
    std::uint8_t fineVolumeSlideMemory;
    std::uint8_t finePortamentoUpMemory;
    std::uint8_t finePortamentoDownMemory;
};

using ChannelTable = std::array<Channel, xm::MaxChannels>;

} // namespace omra
