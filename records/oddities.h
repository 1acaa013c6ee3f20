#pragma once

#include "records/channel.h"

#include <cstdint>

// The places where the player departs on purpose from what a tracker does, each marked
// "Oddity:" in the code, as events a tool can watch: `xmrender --check` lists where a tune meets
// them. Nothing watches in the intro, and then each place costs one test of a null pointer.
namespace omra {

enum class Oddity : std::uint8_t {
    DoubledFadeout,            // instrument: value = the file's fadeout
    ReleasedNoteStaysSilent,   // a note after a release without volume envelope
    TremoloOffsetStays,        // value = the offset kept
    SampleOffsetPastEnd,       // value = the offset, other = the sample's end
    FinetuneSetsTheSample,     // value = y
    GlobalVolumeLags,          // value = the new global volume
    PortamentoUpStopsAt56,     // value = the period the slide would have reached
    ColumnPanningLeavesRange,  // value = the panning
    EnvelopeLoopBeforeSustain, // instrument: value = 0 volume, 1 panning; other = 0 last point,
                               // 1 sustain on the loop end
    BreakOnLastOrder,          // value = the song's restart position
    WaveformThree,             // value = 0 vibrato, 1 tremolo
    AmigaClock,                // value = the frequency played
    VibratoStepsOf4,           // value = the depth, other = its peak offset before the steps
};
inline constexpr int OddityCount = 13;

struct OddityEvent {
    Oddity oddity;
    const Channel* channel;  // the channel it happens on; none for the loader's
    std::int32_t instrument; // from 0, for what belongs to an instrument
    std::int32_t value;
    std::int32_t other;
};

using OddityWatcher = void (*)(const OddityEvent& event, void* context);

struct OddityWatch {
    OddityWatcher watcher = nullptr;
    void* context = nullptr;
};

extern OddityWatch oddityWatch;

inline bool odditiesWatched() {
    return oddityWatch.watcher != nullptr;
}

inline void reportOddity(Oddity oddity, const Channel* channel, std::int32_t value = 0,
                         std::int32_t other = 0, std::int32_t instrument = -1) {
    if (oddityWatch.watcher != nullptr) {
        oddityWatch.watcher({oddity, channel, instrument, value, other}, oddityWatch.context);
    }
}

} // namespace omra
