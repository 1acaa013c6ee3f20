#pragma once

#include "records/xm_format.h"

#include <array>
#include <cstdint>
#include <memory>

// The song model the loader fills, the sequencer interprets and the mixer plays.
namespace omra {

inline constexpr int VoiceCount = 64;
// The rows of a pattern the file does not store, or stores without rows.
inline constexpr std::int32_t EmptyPatternRows = 64;
// Zero slots behind every sample's last frame; the one at the loop end holds the loop guard.
inline constexpr std::uint32_t SampleTailSlots = 8;

// A cell's key-off note; the file's is xm::KeyOffNote.
inline constexpr std::uint8_t StoredKeyOff = 255;

struct PatternCell {
    std::uint8_t note;       // 0 none, 1..96, StoredKeyOff
    std::uint8_t instrument; // 0 none, 1..128
    std::uint8_t volumeColumn;
    std::uint8_t effect;
    std::uint8_t effectParam;
};
static_assert(sizeof(PatternCell) == 5);

struct Pattern {
    std::int32_t rows = 0;
    std::unique_ptr<PatternCell[]> cells; // rows x channelCount, row-major
};

struct EnvelopePoint {
    std::uint16_t x; // tick position
    std::uint16_t y; // value
};

enum LoopMode : std::uint8_t {
    NoLoop = 1,
    ForwardLoop = 2,
    PingPongLoop = 4,
};

struct Sample {
    std::unique_ptr<std::int16_t[]> data; // length + SampleTailSlots slots; none when length is 0
    std::uint32_t length = 0;             // frames
    std::uint32_t loopStart = 0;          // frames
    std::uint32_t loopLength = 0;         // frames
    std::uint8_t volume = 0;
    std::int8_t finetune = 0;
    std::int32_t panning = 0;
    std::uint8_t bits = 0;
    std::uint8_t loopMode = 0;
    std::int8_t relativeNote = 0;
};

// Fills the slot behind the loop end of a sample whose data and loop are in place with what
// interpolation should reach at the loop end: the loop's first frame for a forward loop, the
// frame before the end for ping-pong. A sample without a loop keeps the zero there.
inline void writeLoopGuard(Sample& sample) {
    const std::uint32_t loopEnd = sample.loopStart + sample.loopLength;
    if (sample.loopMode == ForwardLoop) {
        sample.data[loopEnd] = sample.data[sample.loopStart];
    } else if (sample.loopMode == PingPongLoop) {
        sample.data[loopEnd] = sample.data[loopEnd - 1];
    }
}

// Envelope flag bits.
inline constexpr std::uint8_t EnvelopeOn = 1;
inline constexpr std::uint8_t EnvelopeSustain = 2;
inline constexpr std::uint8_t EnvelopeLoop = 4;

struct Instrument {
    std::int32_t sampleCount = 0;
    // Slots past sampleCount refer to EmptySample.
    std::array<Sample*, xm::MaxSamplesPerInstrument> samples{};
    // The instrument's own samples, slots 0 .. sampleCount - 1.
    std::array<std::unique_ptr<Sample>, xm::MaxSamplesPerInstrument> ownSamples;
    std::array<std::uint8_t, xm::NotesPerInstrument> sampleMap{};
    std::array<EnvelopePoint, xm::MaxEnvelopePoints> volumeEnvelope{};
    std::array<EnvelopePoint, xm::MaxEnvelopePoints> panningEnvelope{};
    std::uint8_t volumePointCount = 0;
    std::uint8_t panningPointCount = 0;
    std::uint8_t volumeSustainPoint = 0;
    std::uint8_t volumeLoopStart = 0;
    std::uint8_t volumeLoopEnd = 0;
    std::uint8_t panningSustainPoint = 0;
    std::uint8_t panningLoopStart = 0;
    std::uint8_t panningLoopEnd = 0;
    std::uint8_t volumeEnvelopeFlags = 0;
    std::uint8_t panningEnvelopeFlags = 0;
    std::uint8_t vibratoType = 0;
    std::uint8_t vibratoSweep = 0;
    std::uint8_t vibratoDepth = 0;
    std::uint8_t vibratoRate = 0;
    std::uint16_t fadeout = 0;
};

// The all-zero instrument and sample that stand in for missing ones. Never released.
extern Instrument EmptyInstrument;
extern Sample EmptySample;

struct Song;
using TickHandler = void (*)(Song& song);
struct PlayerState;

struct Song {
    std::unique_ptr<Pattern[]> patterns;       // patternSlots entries
    std::unique_ptr<Instrument[]> instruments; // instrumentCount entries
    std::int32_t framesToTick = 0;
    std::int32_t framesPerTick = 0;
    std::int16_t songLength = 0;
    std::int16_t restartPosition = 0;
    std::int16_t channelCount = 0;
    std::int32_t patternsUsed = 0;
    std::int32_t patternSlots = 0;
    std::int16_t instrumentCount = 0;
    std::uint16_t flags = 0; // xm::LinearFrequencyTable or not
    std::int16_t defaultSpeed = 0;
    std::int16_t defaultBpm = 0;
    std::array<std::uint8_t, xm::OrderTableSize> orderTable{};
    std::uint8_t initialGlobalVolume = 0;
    std::int32_t globalVolume = 0;
    std::uint8_t globalVolumeSlideMemory = 0;
    std::int32_t tick = 0;
    std::int32_t speed = 0;
    std::int32_t bpm = 0;
    std::int32_t row = 0;
    std::int32_t orderPosition = 0;
    std::int32_t patternDelay = 0;
    std::int32_t nextRow = -1;
    std::int32_t nextOrder = -1;
    TickHandler tickHandler = nullptr;
    // The voices and channels the tick handler drives; set when playback starts.
    PlayerState* player = nullptr;
};

} // namespace omra
