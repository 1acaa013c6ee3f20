#pragma once

#include "records/channel.h"
#include "records/song.h"
#include "sequencer/trace.h"
#include "xm/xm_writer.h"

#include <cstdint>
#include <vector>

// Plays modules written for one behaviour through the real loader and sequencer, tick by tick,
// and keeps the trace of every tick.
namespace omra::testing {

// The note numbers of a cell: C-4 is 49 (realNote 48 with relative note 0).
inline constexpr std::uint8_t C4 = 49;
inline constexpr std::uint8_t KeyOffCell = 97;

// An 8-bit sample of 1000 frames looping forward from frame 200, volume 48, panning 128.
tools::XmSample loopingSample();
// One instrument playing `sample` on every note.
tools::XmInstrument instrumentWith(const tools::XmSample& sample);

// `channels` channels, speed 6, 125 BPM, linear periods, `patterns` empty patterns of `rows`
// rows played in order, and one instrument with the looping sample.
tools::XmModule behaviourModule(int channels, int rows = 64, int patterns = 1);

// The cell of `channel` on `row` of pattern `pattern`.
tools::XmCell& cell(tools::XmModule& module, int pattern, int row, int channel);
// A cell with only an effect.
tools::XmCell effectCell(std::uint8_t effect, std::uint8_t parameter);

class SequencerRun {
public:
    explicit SequencerRun(const tools::XmModule& module);
    ~SequencerRun();
    SequencerRun(const SequencerRun&) = delete;
    SequencerRun& operator=(const SequencerRun&) = delete;

    // Runs one tick and returns its trace.
    const TickTrace& tick();
    // Runs `count` ticks and returns their traces.
    std::vector<TickTrace> ticks(int count);

    Song& song() { return *song_; }
    Channel& channel(int index);

private:
    Song* song_ = nullptr;
    TickTrace last_{};
};

} // namespace omra::testing
