#pragma once

#include "records/song.h"
#include "sequencer/trace.h"
#include "xm/xm_writer.h"

#include <string_view>
#include <vector>

// Plays modules written for one behaviour through the real loader and sequencer, tick by tick,
// and keeps the trace of every tick.
namespace omra::testing {

// An 8-bit sample of 1000 frames looping forward from frame 200, volume 48, panning 128.
tools::XmSample loopingSample();
// One instrument playing `sample` on every note.
tools::XmInstrument instrumentWith(const tools::XmSample& sample);

// One channel for each of `channels`, speed 6, 125 BPM, linear periods, `patterns` patterns of
// `rows` rows played in order, and one instrument with the looping sample. Pattern 0 holds the
// phrases, in the tune's notation (tune/note_notation.h), from row 0; the rest is empty.
tools::XmModule behaviourModule(const std::vector<std::string_view>& channels, int rows = 4,
                                int patterns = 1);

// The cell of `channel` on `row` of pattern `pattern`.
tools::XmCell& cell(tools::XmModule& module, int pattern, int row, int channel);

class SequencerRun {
public:
    explicit SequencerRun(const tools::XmModule& module);
    ~SequencerRun();
    SequencerRun(const SequencerRun&) = delete;
    SequencerRun& operator=(const SequencerRun&) = delete;

    // Runs `count` ticks and returns their traces.
    std::vector<TickTrace> ticks(int count);

private:
    Song* song_ = nullptr;
    TickTrace last_{};
};

} // namespace omra::testing
