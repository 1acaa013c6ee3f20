// Player speed: how many times faster than real time the mixer renders (the sequencer included),
// beside a reference player on the same module, and how long starting playback takes to fill its
// ring. Portable, so that the Windows build measures the same things under Wine as the native
// one. Prints finished rows of the tables scripts/benchmarks.sh shows, the Windows build's
// labelled as such.
//
//   omra_player_speed modules [--peer FILE | --no-peer REASON] SHIPPED_MODULE [MODULE...]
//   omra_player_speed figures SHIPPED_MODULE
//
// `modules`: the player's speed on the shipped module, a generated 32-channel module that keeps
// every channel sounding and each further module given, beside the reference player built in,
// measured in turn, run for run; or beside the figures omra_peer_speed wrote to FILE; or beside
// none, for REASON. `figures`: all 64 voices sounding without the sequencer, and the pre-fill.
#include "benchmarks/peer_player.h"
#include "benchmarks/speed_modules.h"
#include "benchmarks/speed_runs.h"
#include "benchmarks/table_row.h"
#include "fakes/fake_wave_device.h"
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace omra {
namespace {

using namespace benchmark;

// The Windows build's rows say so, beside the native build's: `text` after the build's name and
// `joint`, or alone natively.
std::string labelled(const std::string& text, const char* joint) {
#ifdef _WIN32
    return "Windows " + std::to_string(sizeof(void*) * 8) + "-bit" + joint + text;
#else
    static_cast<void>(joint);
    return text;
#endif
}

// What each module's row is measured beside.
struct Peer {
    // Built in, measured in turn with ours.
    bool builtIn = false;
    // The peer the row compares with, or why there is none.
    std::string name;
    // Measured by another program, by module name; "-" where it refuses the module.
    std::map<std::string, std::string> speeds;
};

// The figures omra_peer_speed wrote: the peer's name, then "name<TAB>speed" lines.
std::optional<Peer> readPeerFile(const char* path) {
    std::ifstream file(path);
    Peer peer;
    if (!std::getline(file, peer.name)) {
        return std::nullopt;
    }
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.rfind('\t');
        if (tab != std::string::npos) {
            peer.speeds[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return peer;
}

// Mixes a module block by block, as the intro's audio thread does, and renders it with the
// built-in reference player in turn, run for run, so that a machine that slows down for a while
// slows both; each one's fastest run counts.
bool measureModule(const SpeedModule& module, const Peer& peer) {
    Song* song = loadSongFromMemory(module.bytes);
    if (song == nullptr) {
        std::fprintf(stderr, "%s: the player refuses this module\n", module.name.c_str());
        return false;
    }
    createRings(player);
    const std::unique_ptr<PeerPlayer> builtIn =
        peer.builtIn ? loadPeerPlayer(module.bytes) : nullptr;
    Fastest ours;
    Fastest reference;
    for (int run = 0; run <= Runs; ++run) {
        ours.add(realTimeRate([song] {
            resetPlayback(player, *song);
            for (int block = 0; block < BlocksPerRun; ++block) {
                mixBlock(player);
            }
        }));
        if (builtIn != nullptr) {
            reference.add(peerRunRate(*builtIn));
        }
    }
    std::optional<double> peerSpeed;
    std::string peerLabel = peer.name;
    if (builtIn != nullptr) {
        peerSpeed = reference.rate();
    } else if (const auto figure = peer.speeds.find(module.name);
               figure != peer.speeds.end() && figure->second != "-") {
        peerSpeed = std::stod(figure->second);
    } else if (peer.builtIn || figure != peer.speeds.end()) {
        peerLabel += ": refuses it";
    } else if (!peer.speeds.empty()) {
        peerLabel += ": not measured";
    }
    printSpeedRow(labelled(module.name, ": "), ours.rate(), peerLabel, peerSpeed);
    freeSong(song);
    return true;
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
    printFigureRow(labelled("player: all 64 voices, mixer alone", " "), mixer.rate(), "x",
                   Target::none());
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
    printFigureRow(labelled("start: pre-fill of 100 blocks", " "),
                   *std::min_element(times.begin(), times.end()), "ms", Target::atMost(10));
    freeSong(song);
    setWaveDevice(nullptr);
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s modules [--peer FILE | --no-peer REASON] SHIPPED_MODULE [MODULE...]\n"
                 "       %s figures SHIPPED_MODULE\n",
                 program, program);
    return 2;
}

} // namespace
} // namespace omra

int main(int argc, char** argv) {
    using namespace omra;
    const std::span<char*> args(argv + 1, argv + argc);
    if (args.size() == 2 && std::strcmp(args[0], "figures") == 0) {
        measureEveryVoiceSounding();
        measurePrefill(readModule(args[1]));
        return 0;
    }
    if (args.empty() || std::strcmp(args[0], "modules") != 0) {
        return usage(argv[0]);
    }
    std::size_t first = 1;
    Peer peer;
    if (args.size() > 3 && std::strcmp(args[1], "--peer") == 0) {
        const std::optional<Peer> measured = readPeerFile(args[2]);
        if (!measured) {
            std::fprintf(stderr, "%s: no peer figures\n", args[2]);
            return 1;
        }
        peer = *measured;
        first = 3;
    } else if (args.size() > 3 && std::strcmp(args[1], "--no-peer") == 0) {
        peer.name = args[2];
        first = 3;
    } else {
        peer.name = peerName();
        peer.builtIn = !peer.name.empty();
        if (!peer.builtIn) {
            peer.name = "none built in";
        }
    }
    if (args.size() <= first) {
        return usage(argv[0]);
    }
    bool allLoaded = true;
    for (const SpeedModule& module :
         speedModules(readModule(args[first]), args.subspan(first + 1))) {
        allLoaded = measureModule(module, peer) && allLoaded;
    }
    return allLoaded ? 0 : 1;
}
