#include "unit/sequencer/sequencer_harness.h"

#include "player/memory_file.h"
#include "player/playback.h"
#include "player/player.h"
#include "records/player_state.h"
#include "sequencer/tick_driver.h"
#include "tune/note_notation.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace omra::testing {

tools::XmSample loopingSample() {
    tools::XmSample sample;
    sample.name = "loop";
    for (int i = 0; i < 1000; ++i) {
        sample.frames.push_back(static_cast<std::int16_t>((i % 50) - 25));
    }
    sample.loopType = 1;
    sample.loopStart = 200;
    sample.loopLength = 800;
    sample.volume = 48;
    return sample;
}

tools::XmInstrument instrumentWith(const tools::XmSample& sample) {
    tools::XmInstrument instrument;
    instrument.name = "test";
    instrument.samples = {sample};
    return instrument;
}

tools::XmModule behaviourModule(const std::vector<std::string_view>& channels, int rows,
                                int patterns) {
    tools::XmModule module;
    module.channels = static_cast<std::uint16_t>(channels.size());
    for (int i = 0; i < patterns; ++i) {
        module.patterns.push_back(tools::emptyPattern(rows, module.channels));
        module.orders.push_back(static_cast<std::uint8_t>(i));
    }
    module.instruments = {instrumentWith(loopingSample())};
    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        const tools::tune::Phrase phrase = tools::tune::phrase(channels[channel]);
        if (phrase.size() > static_cast<std::size_t>(rows)) {
            ADD_FAILURE() << "channel " << channel << " has more rows than its pattern";
        }
        for (std::size_t row = 0; row < std::min<std::size_t>(phrase.size(), rows); ++row) {
            cell(module, 0, static_cast<int>(row), static_cast<int>(channel)) = phrase[row];
        }
    }
    return module;
}

tools::XmCell& cell(tools::XmModule& module, int pattern, int row, int channel) {
    return module.patterns.at(pattern).at(row, channel, module.channels);
}

namespace {

void keepTrace(const Song& song, void* trace) {
    *static_cast<TickTrace*>(trace) = captureTick(song, player);
}

} // namespace

SequencerRun::SequencerRun(const tools::XmModule& module) {
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);
    song_ = loadSongFromMemory(bytes);
    if (song_ == nullptr) {
        ADD_FAILURE() << "the test module did not load";
        return;
    }
    resetPlayback(player, *song_);
    setTickObserver(keepTrace, &last_);
}

SequencerRun::~SequencerRun() {
    setTickObserver(nullptr, nullptr);
    freeSong(song_);
}

std::vector<TickTrace> SequencerRun::ticks(int count) {
    std::vector<TickTrace> traces;
    for (int i = 0; i < count; ++i) {
        if (song_ != nullptr) {
            song_->tickHandler(*song_);
        }
        traces.push_back(last_);
    }
    return traces;
}

} // namespace omra::testing
