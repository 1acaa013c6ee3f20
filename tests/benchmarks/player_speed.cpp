// Player speed: how many times faster than real time the mixer renders (the sequencer included),
// beside the reference player on the same module where the benchmark is built with one, and how
// long starting playback takes to fill its ring. Portable, so that the Windows build measures the
// same things under Wine as the native one.
//
//   omra_player_speed SHIPPED_MODULE [MODULE...]
//
// Each line is "name<TAB>ours<TAB>reference<TAB>unit", the reference "-" where there is none:
// the shipped module, a generated 32-channel module that keeps every channel sounding, all 64
// voices sounding without the sequencer, the pre-fill, and then each further module given.
#include "benchmarks/peer_player.h"
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
#include <optional>
#include <string>
#include <time.h>
#include <vector>

namespace omra {
namespace {

constexpr int Runs = 5;            // the fastest of these counts
constexpr int BlocksPerRun = 1500; // 30 s of music
constexpr double RunSeconds = BlocksPerRun * double{BlockFrames} / MixRate;
// A run repeats its 30 s until this much CPU time has passed: long enough for a coarse thread
// clock (Windows counts it in 15.6 ms ticks) to time it to a few percent.
constexpr double MinRunCpuSeconds = 0.5;

// The CPU time this thread has had: what one core spent on it, however busy the machine is.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The fastest of the runs it is given but the first, which warms the caches up.
class Fastest {
public:
    void add(double rate) {
        if (runs_++ > 0) {
            rate_ = std::max(rate_, rate);
        }
    }
    double rate() const { return rate_; }

private:
    int runs_ = 0;
    double rate_ = 0;
};

// Seconds of music per second of CPU time over one run; `mixRun` renders the same 30 s each
// time it is called.
template <typename MixRun>
double realTimeRate(MixRun mixRun) {
    const double start = threadSeconds();
    int repeats = 0;
    double elapsed = 0;
    do {
        mixRun();
        ++repeats;
        elapsed = threadSeconds() - start;
    } while (elapsed < MinRunCpuSeconds);
    return repeats * RunSeconds / elapsed;
}

std::vector<std::uint8_t> readModule(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void report(const std::string& name, double figure, std::optional<double> reference,
            const char* unit) {
    std::printf("%s\t%.1f\t", name.c_str(), figure);
    if (reference) {
        std::printf("%.1f", *reference);
    } else {
        std::printf("-");
    }
    std::printf("\t%s\n", unit);
    std::fflush(stdout);
}

// Mixes a module block by block, as the intro's audio thread does, and renders it with the
// reference player in turn, run for run, so that a machine that slows down for a while slows
// both; each one's fastest run counts.
bool measureModule(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Song* song = loadSongFromMemory(bytes);
    if (song == nullptr) {
        std::fprintf(stderr, "%s: the player refuses this module\n", name.c_str());
        return false;
    }
    createRings(player);
    const std::unique_ptr<benchmark::PeerPlayer> peer = benchmark::loadPeerPlayer(bytes);
    Fastest ours;
    Fastest reference;
    for (int run = 0; run <= Runs; ++run) {
        ours.add(realTimeRate([song] {
            resetPlayback(player, *song);
            for (int block = 0; block < BlocksPerRun; ++block) {
                mixBlock(player);
            }
        }));
        if (peer != nullptr) {
            reference.add(realTimeRate([&] {
                peer->restart();
                peer->render(BlocksPerRun);
            }));
        }
    }
    report(name, ours.rate(),
           peer != nullptr ? std::optional<double>(reference.rate()) : std::nullopt, "x real time");
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
    sample.length = Frames;
    sample.loopLength = Frames;
    sample.loopMode = ForwardLoop;
    writeLoopGuard(sample);
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
    Fastest mixer;
    for (int run = 0; run <= Runs; ++run) {
        mixer.add(realTimeRate([&] {
            for (int mixed = 0; mixed < BlocksPerRun; ++mixed) {
                std::fill(block.begin(), block.end(), 0.0f);
                mixVoices(voices, block.data(), BlockFrames);
            }
        }));
    }
    report("64 voices sounding, mixer alone", mixer.rate(), std::nullopt, "x real time");
}

// startPlayback: stop, reset, open the device, mix all 100 blocks of the ring, start.
void measurePrefill(const std::vector<std::uint8_t>& bytes) {
    Song* song = loadSongFromMemory(bytes);
    FakeWaveDevice device;
    setWaveDevice(&device);
    // A wait the intro's start makes, timed on the wall clock: finer than a thread clock.
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        startPlayback(song);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
        stopPlayback(song);
    }
    report("pre-fill of 100 blocks at start", *std::min_element(times.begin(), times.end()),
           std::nullopt, "ms");
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
