// Player speed: how many times faster than real time the mixer renders, and how long starting
// playback takes to fill the ring. Run: build/release-bench/tests/omra_player_benchmark
#include "common/files.h"
#include "fakes/fake_wave_device.h"
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "xm/xm_writer.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace omra {
namespace {

Song* loadModule(const std::vector<std::uint8_t>& bytes) {
    setMemoryFileBytes(bytes);
    setFileCallbacks(memoryFileOpen, memoryFileClose, memoryFileRead, memoryFileSeek,
                     memoryFileTell);
    return loadSong(bytes.data());
}

void reportRealTime(benchmark::State& state) {
    const double seconds = static_cast<double>(state.iterations()) * BlockFrames / MixRate;
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}

// Mixes a module block by block, as the intro's audio thread does.
void mixModule(benchmark::State& state, const std::vector<std::uint8_t>& bytes) {
    Song* song = loadModule(bytes);
    createRings(player);
    resetPlayback(player, *song);
    for (auto _ : state) {
        mixBlock(player);
    }
    reportRealTime(state);
    freeSong(song);
}

void MixShippedModule(benchmark::State& state) {
    mixModule(state, tools::readFile(OMRA_DATA_DIR "/module.xm"));
}
BENCHMARK(MixShippedModule)->Unit(benchmark::kMicrosecond);

// A 32-channel module through the sequencer: every channel starts a note every second row
// with vibrato and a volume slide, so both voices of every channel sound, one ramping out.
std::vector<std::uint8_t> busyModule() {
    constexpr int Channels = 32;
    tools::XmSample sample;
    sample.sixteenBit = true;
    for (int i = 0; i < 4096; ++i) {
        sample.frames.push_back(
            static_cast<std::int16_t>(3000.0 * std::sin(2.0 * std::numbers::pi * 9.0 * i / 4096)));
    }
    sample.loopType = 2; // ping-pong
    sample.loopLength = 4096;
    tools::XmInstrument instrument;
    instrument.samples = {sample};
    instrument.volumeEnvelope.points = {{0, 64}, {40, 32}, {80, 48}};
    instrument.volumeEnvelope.flags = 1 | 4;
    instrument.volumeEnvelope.loopEnd = 2;
    tools::XmModule module;
    module.channels = Channels;
    module.orders = {0};
    module.instruments = {instrument};
    module.patterns = {tools::emptyPattern(64, Channels)};
    for (int row = 0; row < 64; row += 2) {
        for (int channel = 0; channel < Channels; ++channel) {
            const auto note = static_cast<std::uint8_t>(25 + (row + 5 * channel) % 48);
            module.patterns[0].at(row, channel, Channels) = {note, 1, 0x28, 0x06, 0x41};
        }
    }
    return tools::writeXm(module);
}

void MixThirtyTwoChannelModule(benchmark::State& state) {
    mixModule(state, busyModule());
}
BENCHMARK(MixThirtyTwoChannelModule)->Unit(benchmark::kMicrosecond);

// All 64 voices sounding a looped 16-bit sample at different pitches and gains: the mixer's
// heaviest load, as 32 channels each with a voice ramping out beside its new one.
void MixEveryVoiceSounding(benchmark::State& state) {
    static Sample sample;
    constexpr std::uint32_t Frames = 2048;
    sample.data.reset(new std::int16_t[Frames + SampleTailSlots]());
    for (std::uint32_t i = 0; i < Frames; ++i) {
        sample.data[i] =
            static_cast<std::int16_t>(4000.0 * std::sin(2.0 * std::numbers::pi * 7.0 * i / Frames));
    }
    sample.data[Frames] = sample.data[0]; // loop guard
    sample.length = Frames;
    sample.loopLength = Frames;
    sample.loopMode = ForwardLoop;
    PlayerState state_;
    state_.floatRing.reset(new float[2 * RingFrames]());
    for (std::int32_t i = 0; i < VoiceCount; ++i) {
        Voice& voice = state_.voices[i];
        voice.index = i;
        voice.sample = &sample;
        voice.step = 1;
        voice.stepFraction = 0x10000000u * static_cast<std::uint32_t>(i % 16);
        voice.gainLeft = 40 + i;
        voice.gainRight = 100 - i;
    }
    for (auto _ : state) {
        mixVoices(state_.voices, state_.floatRing.get(), BlockFrames);
        benchmark::DoNotOptimize(state_.floatRing[0]);
    }
    reportRealTime(state);
}
BENCHMARK(MixEveryVoiceSounding)->Unit(benchmark::kMicrosecond);

// startPlayback: stop, reset, open the device, mix all 100 blocks of the ring, start.
void StartPlaybackPrefill(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = tools::readFile(OMRA_DATA_DIR "/module.xm");
    Song* song = loadModule(bytes);
    FakeWaveDevice device;
    setWaveDevice(&device);
    for (auto _ : state) {
        startPlayback(song);
        state.PauseTiming();
        stopPlayback(song);
        state.ResumeTiming();
    }
    freeSong(song);
    setWaveDevice(nullptr);
}
BENCHMARK(StartPlaybackPrefill)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace omra

BENCHMARK_MAIN();
