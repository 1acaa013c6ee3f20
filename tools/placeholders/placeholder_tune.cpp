#include "placeholders/placeholder_tune.h"

#include <cmath>
#include <numbers>

namespace omra::tools {

namespace {

constexpr int Channels = 4;
constexpr int Rows = 64;
constexpr std::uint8_t KeyOff = 97;

// One cycle of a soft square wave, 32 frames, looped forward: an organ-like tone.
XmSample organSample() {
    XmSample sample;
    sample.name = "placeholder organ";
    for (int i = 0; i < 32; ++i) {
        const double phase = 2.0 * std::numbers::pi * i / 32.0;
        const double value = 0.6 * std::sin(phase) + 0.2 * std::sin(3.0 * phase);
        sample.frames.push_back(static_cast<std::int16_t>(std::lround(value * 127.0)));
    }
    sample.loopStart = 0;
    sample.loopLength = 32;
    sample.loopType = 1;
    sample.volume = 48;
    sample.relativeNote = 24;
    return sample;
}

XmInstrument organ() {
    XmInstrument instrument;
    instrument.name = "organ";
    instrument.samples.push_back(organSample());
    instrument.volumeEnvelope.points = {{0, 64}, {8, 48}, {40, 32}, {80, 0}};
    instrument.volumeEnvelope.sustainPoint = 2;
    instrument.volumeEnvelope.flags = 1 | 2;
    instrument.fadeout = 1024;
    return instrument;
}

// Notes are 1 + 12 x octave + semitone; C-4 is 49.
XmPattern phrase(int root) {
    XmPattern pattern = emptyPattern(Rows, Channels);
    for (int row = 0; row < Rows; row += 8) {
        pattern.at(row, 0, Channels) = XmCell{static_cast<std::uint8_t>(root - 12), 1, 0x30, 0, 0};
        pattern.at(row + 6, 0, Channels) = XmCell{KeyOff, 0, 0, 0, 0};
    }
    constexpr int Melody[] = {0, 4, 7, 12, 7, 4, 2, 5};
    for (int step = 0; step < 8; ++step) {
        // Arpeggio 0x047 makes a major chord of each melody note.
        pattern.at(step * 8 + 4, 1, Channels) =
            XmCell{static_cast<std::uint8_t>(root + Melody[step]), 1, 0x28, 0x0, 0x47};
    }
    pattern.at(0, 2, Channels) = XmCell{static_cast<std::uint8_t>(root + 7), 1, 0x18, 0x4, 0x24};
    pattern.at(32, 2, Channels) = XmCell{KeyOff, 0, 0, 0, 0};
    pattern.at(32, 3, Channels) = XmCell{static_cast<std::uint8_t>(root + 4), 1, 0x18, 0, 0};
    return pattern;
}

} // namespace

XmModule placeholderTune() {
    XmModule module;
    module.name = "omra placeholder";
    module.channels = Channels;
    module.speed = 6;
    module.bpm = 125;
    module.orders = {0, 1};
    module.patterns = {phrase(49), phrase(54)};
    module.instruments = {organ()};
    return module;
}

} // namespace omra::tools
