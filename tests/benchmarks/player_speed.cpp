// Player speed: how many times faster than real time the mixer renders (the sequencer included),
// and how long starting playback takes to fill its ring. Portable, so that the Windows build
// measures the same things under Wine as the native one.
//
//   omra_player_speed SHIPPED_MODULE [MODULE...]
//
// Each line is "name<TAB>figure<TAB>unit": the shipped module, a generated 32-channel module
// that keeps every channel sounding, all 64 voices sounding without the sequencer, the pre-fill,
// and then each further module given.
#include "fakes/fake_wave_device.h"
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "xm/xm_writer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace omra {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 5;            // the median of these is reported
constexpr int BlocksPerRun = 1500; // 30 s of music
constexpr double BlockSeconds = double{BlockFrames} / MixRate;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double fastest(const std::vector<double>& rates) {
    return *std::max_element(rates.begin(), rates.end());
}

double shortest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

std::vector<std::uint8_t> readModule(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Song* loadModule(const std::vector<std::uint8_t>& bytes) {
    return loadSongFromMemory(bytes);
}

void report(const std::string& name, double figure, const char* unit) {
    std::printf("%s\t%.1f\t%s\n", name.c_str(), figure, unit);
    std::fflush(stdout);
}

// Times `mixRun` (which mixes BlocksPerRun blocks) and reports seconds of music per second.
template <typename MixRun>
void reportRealTime(const std::string& name, MixRun mixRun) {
    mixRun(); // warm-up
    std::vector<double> rates;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point start = Clock::now();
        mixRun();
        rates.push_back(BlocksPerRun * BlockSeconds / secondsSince(start));
    }
    report(name, fastest(rates), "x real time");
}

// Mixes a module block by block, as the intro's audio thread does.
bool measureModule(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Song* song = loadModule(bytes);
    if (song == nullptr) {
        std::fprintf(stderr, "%s: the player refuses this module\n", name.c_str());
        return false;
    }
    createRings(player);
    resetPlayback(player, *song);
    reportRealTime(name, [] {
        for (int block = 0; block < BlocksPerRun; ++block) {
            mixBlock(player);
        }
    });
    freeSong(song);
    return true;
}

// A 32-channel module through the sequencer: every channel starts a note every second row
// with vibrato and a volume slide, on a ping-pong loop with a looping volume envelope.
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

// All 64 voices sounding a looped 16-bit sample at different pitches and gains: the mixer's
// heaviest load, without the sequencer.
void measureEveryVoiceSounding() {
    constexpr std::uint32_t Frames = 2048;
    Sample sample;
    sample.data.reset(new std::int16_t[Frames + SampleTailSlots]());
    for (std::uint32_t i = 0; i < Frames; ++i) {
        sample.data[i] =
            static_cast<std::int16_t>(4000.0 * std::sin(2.0 * std::numbers::pi * 7.0 * i / Frames));
    }
    sample.data[Frames] = sample.data[0]; // loop guard
    sample.length = Frames;
    sample.loopLength = Frames;
    sample.loopMode = ForwardLoop;
    VoicePool voices{};
    for (std::int32_t i = 0; i < VoiceCount; ++i) {
        Voice& voice = voices[i];
        voice.index = i;
        voice.sample = &sample;
        voice.step = 1;
        voice.stepFraction = 0x10000000u * static_cast<std::uint32_t>(i % 16);
        voice.gainLeft = voice.rampGainLeft = 40 + i;
        voice.gainRight = voice.rampGainRight = 100 - i;
        voice.levelLeft = voice.gainLeft * 256;
        voice.levelRight = voice.gainRight * 256;
    }
    std::vector<float> block(2 * BlockFrames);
    reportRealTime("64 voices sounding, mixer alone", [&] {
        for (int run = 0; run < BlocksPerRun; ++run) {
            std::fill(block.begin(), block.end(), 0.0f);
            mixVoices(voices, block.data(), BlockFrames);
        }
    });
}

// startPlayback: stop, reset, open the device, mix all 100 blocks of the ring, start.
void measurePrefill(const std::vector<std::uint8_t>& bytes) {
    Song* song = loadModule(bytes);
    FakeWaveDevice device;
    setWaveDevice(&device);
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point start = Clock::now();
        startPlayback(song);
        times.push_back(secondsSince(start) * 1000.0);
        stopPlayback(song);
    }
    report("pre-fill of 100 blocks at start", shortest(times), "ms");
    freeSong(song);
    setWaveDevice(nullptr);
}

} // namespace
} // namespace omra

int main(int argc, char** argv) {
    using namespace omra;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SHIPPED_MODULE [MODULE...]\n", argv[0]);
        return 2;
    }
    const std::vector<std::uint8_t> shipped = readModule(argv[1]);
    if (!measureModule("shipped tune", shipped)) {
        return 1;
    }
    bool allLoaded = measureModule("32 channels, every channel sounding", busyModule());
    measureEveryVoiceSounding();
    measurePrefill(shipped);
    for (int i = 2; i < argc; ++i) {
        allLoaded = measureModule(argv[i], readModule(argv[i])) && allLoaded;
    }
    return allLoaded ? 0 : 1;
}
