#include "support/covering_modules.h"

#include "xm/xm_writer.h"

#include <cmath>
#include <numbers>

namespace omra::testing {

namespace {

using tools::XmCell;
using tools::XmInstrument;
using tools::XmModule;
using tools::XmPattern;
using tools::XmSample;

// Modules that play every effect and volume-column command in turn, and envelopes that are
// released and come back.

constexpr int Channels = 4;
constexpr int Rows = 32;
constexpr std::uint8_t ExtendedEffect = 0x0E;
constexpr std::uint8_t LastEffect = 0x23;
constexpr std::uint16_t SongBpm = 125;
// 36 frames a tick: about 24 ticks in every 884-frame block.
constexpr std::uint16_t FastBpm = 3000;

struct SampleShape {
    bool sixteenBit;
    std::uint8_t loopType; // 0 none, 1 forward, 2 ping-pong
};

// A sine advancing `radiansPerFrame` a frame, near full scale.
XmSample wave(int frames, bool sixteenBit, std::uint8_t loopType, int loopStart, int loopLength,
              double radiansPerFrame = 0.3) {
    XmSample sample;
    sample.sixteenBit = sixteenBit;
    const double peak = sixteenBit ? 20000 : 100;
    for (int i = 0; i < frames; ++i) {
        sample.frames.push_back(static_cast<std::int16_t>(peak * std::sin(i * radiansPerFrame)));
    }
    sample.loopType = loopType;
    sample.loopStart = static_cast<std::uint32_t>(loopStart);
    sample.loopLength = static_cast<std::uint32_t>(loopLength);
    return sample;
}

// A volume envelope with a sustain point inside a loop, a looping panning envelope, a square
// auto-vibrato and a fadeout.
void addEnvelopes(XmInstrument& instrument, std::vector<tools::XmEnvelopePoint> volume,
                  std::uint8_t vibratoSweep, std::uint8_t vibratoRate, std::uint16_t fadeout) {
    instrument.volumeEnvelope = {std::move(volume), 2, 1, 3, 1 | 2 | 4, {}};
    instrument.panningEnvelope = {{{0, 0}, {8, 64}, {16, 32}}, 0, 0, 2, 1 | 4, {}};
    instrument.vibratoType = 1;
    instrument.vibratoSweep = vibratoSweep;
    instrument.vibratoDepth = 8;
    instrument.vibratoRate = vibratoRate;
    instrument.fadeout = fadeout;
}

// Eight 32-frame sine cycles, the last six looped when the shape asks for a loop.
XmSample sineSample(SampleShape shape) {
    const bool looped = shape.loopType != 0;
    XmSample sample = wave(256, shape.sixteenBit, shape.loopType, looped ? 64 : 0, looped ? 192 : 0,
                           std::numbers::pi / 16);
    sample.relativeNote = -12;
    sample.finetune = 16;
    return sample;
}

// Two samples split over the keyboard, and the envelopes.
XmInstrument envelopedInstrument(SampleShape shape) {
    XmInstrument instrument;
    instrument.samples = {sineSample(shape), sineSample({!shape.sixteenBit, shape.loopType})};
    for (std::size_t note = 48; note < instrument.sampleForNote.size(); ++note) {
        instrument.sampleForNote[note] = 1;
    }
    addEnvelopes(instrument, {{0, 0}, {4, 64}, {10, 40}, {20, 50}, {40, 0}}, 4, 16, 0x400);
    return instrument;
}

XmInstrument plainInstrument(SampleShape shape) {
    XmInstrument instrument;
    instrument.samples = {sineSample(shape)};
    return instrument;
}

// Runs `fill(row, channel)` over a fresh pattern.
template <typename Fill>
XmPattern patternOf(Fill fill) {
    XmPattern pattern = tools::emptyPattern(Rows, Channels);
    for (int row = 0; row < Rows; ++row) {
        for (int channel = 0; channel < Channels; ++channel) {
            pattern.at(row, channel, Channels) = fill(row, channel);
        }
    }
    return pattern;
}

std::uint8_t noteFor(int row, int channel) {
    return static_cast<std::uint8_t>(25 + (row * 7 + channel * 19) % 48);
}

// A few parameters per effect: zero (memory), small, large, and one of each nibble.
std::uint8_t parameterFor(int row) {
    constexpr std::uint8_t Parameters[] = {0x00, 0x12, 0xF1, 0x8F, 0x40, 0x0A, 0xA0, 0xFF};
    return Parameters[row % 8];
}

XmCell effectCell(int row, int channel, std::uint8_t effect, std::uint8_t parameter) {
    const bool newNote = (row + channel) % 3 == 0;
    return XmCell{newNote ? noteFor(row, channel) : std::uint8_t{0},
                  newNote ? static_cast<std::uint8_t>(1 + channel % 2) : std::uint8_t{0}, 0, effect,
                  parameter};
}

// Every effect of the effect column, each on a few rows with different parameters. Flow
// effects (B, D, and F with tempo values) stay in the last pattern so the others get played.
std::vector<XmPattern> effectPatterns() {
    std::vector<XmPattern> patterns;
    for (std::uint8_t first = 0; first <= LastEffect; first += 4) {
        patterns.push_back(patternOf([first](int row, int channel) {
            const auto effect = static_cast<std::uint8_t>(first + channel);
            if (effect > LastEffect || effect == 0x0B || effect == 0x0D ||
                effect == ExtendedEffect) {
                return effectCell(row, channel, 0, 0);
            }
            return effectCell(row, channel, effect, parameterFor(row));
        }));
    }
    patterns.push_back(patternOf([](int row, int channel) {
        return effectCell(row, channel, ExtendedEffect,
                          static_cast<std::uint8_t>((row % 16) << 4 | (row + channel) % 4));
    }));
    patterns.push_back(patternOf([](int row, int channel) {
        if (row == Rows - 1 && channel == 0) {
            return XmCell{0, 0, 0, 0x0B, 1};
        }
        if (row == 20 && channel == 1) {
            return XmCell{0, 0, 0, 0x0D, 0x16};
        }
        return effectCell(row, channel, 0x0F, static_cast<std::uint8_t>(row < 16 ? 3 : 140));
    }));
    return patterns;
}

// Every volume-column command with several parameters, under a few plain effects.
XmPattern volumeColumnPattern() {
    return patternOf([](int row, int channel) {
        XmCell cell = effectCell(row, channel, static_cast<std::uint8_t>(channel * 3),
                                 parameterFor(row + channel));
        cell.volume = static_cast<std::uint8_t>(0x10 + ((row * Channels + channel) * 5) % 0xF0);
        return cell;
    });
}

// Notes that key off and come back, with the envelope effects K and L.
XmPattern envelopePattern() {
    return patternOf([](int row, int channel) {
        if (row % 8 == 0) {
            return XmCell{noteFor(row, channel), 1, 0, 0, 0};
        }
        if (row % 8 == 5) {
            return XmCell{xm::KeyOffNote, 0, 0, 0, 0};
        }
        if (row % 8 == 3 && channel == 1) {
            return XmCell{0, 0, 0, 0x14, 2};
        }
        if (row % 8 == 6 && channel == 2) {
            return XmCell{0, 0, 0, 0x15, 12};
        }
        return XmCell{};
    });
}

// A fast tempo gets through many rows in the few blocks the fuzz target plays of each input.
XmModule moduleWith(std::vector<XmPattern> patterns, std::vector<XmInstrument> instruments,
                    bool linear, std::uint16_t bpm) {
    XmModule module;
    module.channels = Channels;
    module.linearFrequencies = linear;
    module.speed = 3;
    module.bpm = bpm;
    module.patterns = std::move(patterns);
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        module.orders.push_back(static_cast<std::uint8_t>(i));
    }
    module.instruments = std::move(instruments);
    return module;
}

// One sample that is all loop from frame 0, one or two frames long, under one note: the
// smallest module that sounds, which the fuzz target plays for long, and a loop met every frame.
XmModule tinyLoopModule(std::uint8_t loopType) {
    XmSample sample;
    sample.frames = {64, -64};
    sample.frames.resize(loopType);
    sample.loopType = loopType;
    sample.loopLength = loopType;
    XmInstrument instrument;
    instrument.samples = {sample};
    XmModule module;
    module.channels = 2;
    module.orders = {0};
    module.patterns = {tools::emptyPattern(4, module.channels)};
    module.patterns[0].at(0, 0, module.channels) = XmCell{61, 1, 0, 0, 0};
    module.instruments = {instrument};
    return module;
}

// Modules of random cells over instruments of every kind.

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

std::vector<XmInstrument> instruments() {
    XmInstrument enveloped;
    enveloped.samples = {wave(300, false, 0, 0, 0), wave(256, true, 1, 64, 128),
                         wave(200, false, 2, 20, 150)};
    for (std::size_t note = 0; note < enveloped.sampleForNote.size(); ++note) {
        enveloped.sampleForNote[note] = static_cast<std::uint8_t>(note % 3);
    }
    addEnvelopes(enveloped, {{0, 64}, {4, 40}, {10, 50}, {20, 10}, {40, 0}}, 10, 20, 2000);

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

std::vector<NamedFile> coveringModules() {
    const SampleShape forward8{false, 1};
    const SampleShape pingPong16{true, 2};
    const SampleShape unlooped16{true, 0};
    std::vector<NamedFile> modules;
    const auto add = [&modules](std::string name, const XmModule& module) {
        modules.push_back({std::move(name), tools::writeXm(module)});
    };
    add("effects-linear-8bit-forward.xm",
        moduleWith(effectPatterns(), {envelopedInstrument(forward8), plainInstrument(forward8)},
                   true, FastBpm));
    add("effects-amiga-16bit-pingpong.xm",
        moduleWith(effectPatterns(), {plainInstrument(pingPong16), envelopedInstrument(pingPong16)},
                   false, FastBpm));
    add("volume-column-linear.xm",
        moduleWith({volumeColumnPattern()},
                   {envelopedInstrument(unlooped16), plainInstrument(forward8)}, true, FastBpm));
    add("volume-column-amiga.xm",
        moduleWith({volumeColumnPattern()},
                   {plainInstrument(pingPong16), envelopedInstrument(forward8)}, false, SongBpm));
    add("envelopes-linear.xm",
        moduleWith({envelopePattern()}, {envelopedInstrument(pingPong16)}, true, SongBpm));
    add("envelopes-amiga.xm",
        moduleWith({envelopePattern()}, {envelopedInstrument(forward8)}, false, FastBpm));

    XmModule restarting = moduleWith({envelopePattern(), volumeColumnPattern()},
                                     {envelopedInstrument(unlooped16)}, true, SongBpm);
    restarting.orders = {0, 1, 1, 0};
    restarting.restartPosition = 2;
    restarting.patterns[1].unpacked = true;
    add("restart-unpacked.xm", restarting);
    add("one-frame-forward-loop.xm", tinyLoopModule(1));
    add("two-frame-pingpong-loop.xm", tinyLoopModule(2));
    add("many-patterns.xm", manyPatterns());
    add("sample-heavy.xm", sampleHeavy());
    return modules;
}

} // namespace omra::testing
