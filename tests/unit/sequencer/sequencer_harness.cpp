#include "unit/sequencer/sequencer_harness.h"

#include "player/memory_file.h"
#include "player/playback.h"
#include "player/player.h"
#include "records/player_state.h"
#include "sequencer/tick_driver.h"

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

tools::XmModule behaviourModule(int channels, int rows, int patterns) {
    tools::XmModule module;
    module.channels = static_cast<std::uint16_t>(channels);
    for (int i = 0; i < patterns; ++i) {
        module.patterns.push_back(tools::emptyPattern(rows, channels));
        module.orders.push_back(static_cast<std::uint8_t>(i));
    }
    module.instruments = {instrumentWith(loopingSample())};
    return module;
}

tools::XmCell& cell(tools::XmModule& module, int pattern, int row, int channel) {
    return module.patterns.at(pattern).at(row, channel, module.channels);
}

tools::XmCell effectCell(std::uint8_t effect, std::uint8_t parameter) {
    tools::XmCell result;
    result.effect = effect;
    result.parameter = parameter;
    return result;
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

const TickTrace& SequencerRun::tick() {
    if (song_ != nullptr) {
        song_->tickHandler(*song_);
    }
    return last_;
}

std::vector<TickTrace> SequencerRun::ticks(int count) {
    std::vector<TickTrace> traces;
    for (int i = 0; i < count; ++i) {
        traces.push_back(tick());
    }
    return traces;
}

Channel& SequencerRun::channel(int index) {
    return player.channels[index];
}

} // namespace omra::testing
