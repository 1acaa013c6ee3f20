#include "support/varied_modules.h"

#include "common/files.h"
#include "xm/xm_writer.h"

#include <cmath>

namespace omra::testing {

namespace {

using tools::XmCell;
using tools::XmInstrument;
using tools::XmModule;
using tools::XmPattern;
using tools::XmSample;

// A fixed pseudo-random sequence, so every run damages the same modules.
class Numbers {
public:
    unsigned next(unsigned below) {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) % below;
    }

private:
    std::uint32_t state_ = 2024;
};

XmSample wave(int frames, bool sixteenBit, std::uint8_t loopType, int loopStart, int loopLength) {
    XmSample sample;
    sample.sixteenBit = sixteenBit;
    const double peak = sixteenBit ? 20000 : 100;
    for (int i = 0; i < frames; ++i) {
        sample.frames.push_back(static_cast<std::int16_t>(peak * std::sin(i * 0.3)));
    }
    sample.loopType = loopType;
    sample.loopStart = static_cast<std::uint32_t>(loopStart);
    sample.loopLength = static_cast<std::uint32_t>(loopLength);
    return sample;
}

std::vector<XmInstrument> instruments() {
    XmInstrument enveloped;
    enveloped.samples = {wave(300, false, 0, 0, 0), wave(256, true, 1, 64, 128),
                         wave(200, false, 2, 20, 150)};
    for (std::size_t note = 0; note < enveloped.sampleForNote.size(); ++note) {
        enveloped.sampleForNote[note] = static_cast<std::uint8_t>(note % 3);
    }
    enveloped.volumeEnvelope.points = {{0, 64}, {4, 40}, {10, 50}, {20, 10}, {40, 0}};
    enveloped.volumeEnvelope.flags = 7; // on, sustain, loop
    enveloped.volumeEnvelope.sustainPoint = 2;
    enveloped.volumeEnvelope.loopStart = 1;
    enveloped.volumeEnvelope.loopEnd = 3;
    enveloped.panningEnvelope.points = {{0, 0}, {8, 64}, {16, 32}};
    enveloped.panningEnvelope.flags = 5; // on, loop
    enveloped.panningEnvelope.loopEnd = 2;
    enveloped.vibratoType = 1;
    enveloped.vibratoSweep = 10;
    enveloped.vibratoDepth = 8;
    enveloped.vibratoRate = 20;
    enveloped.fadeout = 2000;

    XmInstrument pingPong;
    pingPong.samples = {wave(512, true, 2, 100, 300)};
    pingPong.panningEnvelope.points = {{0, 32}, {30, 0}};
    pingPong.panningEnvelope.flags = 3; // on, sustain

    return {enveloped, XmInstrument{}, pingPong};
}

// Rows of random notes, instruments, volume-column bytes and effects, including some that no
// tracker writes.
XmPattern noisyPattern(Numbers& numbers, std::uint16_t rows, int channels, bool unpacked) {
    XmPattern pattern = tools::emptyPattern(rows, channels);
    pattern.unpacked = unpacked;
    for (XmCell& cell : pattern.cells) {
        if (numbers.next(3) == 0) {
            continue;
        }
        cell.note = static_cast<std::uint8_t>(numbers.next(98));
        cell.instrument = static_cast<std::uint8_t>(numbers.next(5));
        cell.volume = static_cast<std::uint8_t>(numbers.next(256));
        cell.effect = static_cast<std::uint8_t>(numbers.next(36));
        cell.parameter = static_cast<std::uint8_t>(numbers.next(256));
    }
    return pattern;
}

XmModule manyPatterns() {
    Numbers numbers;
    XmModule module;
    module.channels = 5;
    module.speed = 3;
    module.bpm = 200;
    for (int index = 0; index < 24; ++index) {
        const auto rows = static_cast<std::uint16_t>(1 + numbers.next(40));
        // Every fifth pattern is stored without cell data.
        XmPattern pattern = noisyPattern(numbers, rows, 5, index % 3 == 0);
        if (index % 5 == 4) {
            pattern.cells.clear();
        }
        module.patterns.push_back(pattern);
    }
    for (int position = 0; position < 40; ++position) {
        // Some entries name patterns the file does not store.
        module.orders.push_back(static_cast<std::uint8_t>(numbers.next(28)));
    }
    module.restartPosition = 3;
    module.instruments = instruments();
    return module;
}

// Few patterns, so most of the file is sample data; Amiga periods.
XmModule sampleHeavy() {
    Numbers numbers;
    XmModule module;
    module.channels = 2;
    module.linearFrequencies = false;
    module.orders = {0, 1};
    module.patterns = {noisyPattern(numbers, 16, 2, false), noisyPattern(numbers, 8, 2, true)};
    module.instruments = instruments();
    XmInstrument large;
    large.samples = {wave(3000, true, 1, 1000, 2000), wave(2500, false, 0, 0, 0)};
    large.sampleForNote.fill(1);
    module.instruments.push_back(large);
    return module;
}

} // namespace

std::vector<NamedModule> variedModules() {
    return {{"many patterns", tools::writeXm(manyPatterns())},
            {"sample heavy", tools::writeXm(sampleHeavy())},
            {"data/module.xm", tools::readFile(OMRA_DATA_DIR "/module.xm")}};
}

} // namespace omra::testing
