#include "benchmarks/speed_modules.h"

#include "xm/xm_writer.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

namespace omra::benchmark {

namespace {

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

} // namespace

std::vector<std::uint8_t> readModule(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<SpeedModule> speedModules(const std::vector<std::uint8_t>& shipped,
                                      std::span<char* const> furtherPaths) {
    std::vector<SpeedModule> modules;
    modules.push_back({"shipped tune", shipped});
    modules.push_back({"32 channels, every channel sounding", busyModule()});
    for (const char* path : furtherPaths) {
        modules.push_back({std::filesystem::path(path).filename().string(), readModule(path)});
    }
    return modules;
}

} // namespace omra::benchmark
