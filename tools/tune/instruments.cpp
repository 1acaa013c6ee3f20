#include "tune/instruments.h"

#include "tune/sample_synthesis.h"

#include <cmath>
#include <numbers>

namespace omra::tools::tune {

namespace {

constexpr double Pi = std::numbers::pi;
// Every sample is made for a playback rate of 16726 Hz at C-4 (relative note +12): drums then
// sound as synthesised at C-4, and a 64-frame cycle sounds at middle C.
constexpr double Rate = 16726.0;
constexpr std::int8_t RelativeNote = 12;
constexpr int CycleFrames = 64;

XmSample sampleNamed(const char* name, std::vector<std::int16_t> frames) {
    XmSample sample;
    sample.name = name;
    sample.frames = std::move(frames);
    sample.relativeNote = RelativeNote;
    return sample;
}

void loopForward(XmSample& sample, std::uint32_t start) {
    sample.loopType = 1;
    sample.loopStart = start;
    sample.loopLength = static_cast<std::uint32_t>(sample.frames.size()) - start;
}

void loopPingPong(XmSample& sample, std::uint32_t start) {
    sample.loopType = 2;
    sample.loopStart = start;
    sample.loopLength = static_cast<std::uint32_t>(sample.frames.size()) - start;
}

XmInstrument instrumentOf(const char* name, XmSample sample) {
    XmInstrument instrument;
    instrument.name = name;
    instrument.samples.push_back(std::move(sample));
    return instrument; // sampleForNote is all zeros: every note plays the one sample
}

// A sine whose pitch falls from 160 Hz to 45 Hz in a few hundredths of a second, with a click
// of noise on top and a little saturation for punch.
XmInstrument kick() {
    Signal signal;
    Noise noise(0x1234567);
    double phase = 0.0;
    for (int i = 0; i < 2800; ++i) {
        const double t = i / Rate;
        phase += (45.0 + 115.0 * std::exp(-t / 0.028)) / Rate;
        const double body = std::sin(2.0 * Pi * phase) * std::exp(-t / 0.085);
        const double click = noise.next() * std::exp(-t / 0.002) * 0.4;
        signal.push_back(std::tanh(1.8 * (body + click)));
    }
    XmSample sample = sampleNamed("kick", eightBit(fadedOut(signal, 400), 1.0));
    sample.volume = 60;
    return instrumentOf("kick", std::move(sample));
}

// A short tone for the drum's body under a longer burst of brightened noise for the wires.
XmInstrument snare() {
    Signal signal;
    Noise noise(0xBADC0DE);
    double previous = 0.0;
    for (int i = 0; i < 2600; ++i) {
        const double t = i / Rate;
        const double body =
            (std::sin(2.0 * Pi * 185.0 * t) + 0.5 * std::sin(2.0 * Pi * 330.0 * t)) *
            std::exp(-t / 0.035);
        const double white = noise.next();
        const double bright = white - 0.6 * previous; // tilts the noise toward the highs
        previous = white;
        signal.push_back(0.7 * body + 0.8 * bright * std::exp(-t / 0.06));
    }
    XmSample sample = sampleNamed("snare", eightBit(fadedOut(signal, 400), 1.0));
    sample.volume = 56;
    sample.panning = 136;
    return instrumentOf("snare", std::move(sample));
}

// High-passed noise with a quick decay; meant to be played an octave or more above C-4, where
// its noise reaches the top of the audible range. A note cut shortens it to a closed hat.
XmInstrument hiHat() {
    Signal signal;
    Noise noise(0xC0FFEE);
    double previous = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double t = i / Rate;
        const double white = noise.next();
        signal.push_back((white - previous) * std::exp(-t / 0.03));
        previous = white;
    }
    XmSample sample = sampleNamed("hi-hat", eightBit(fadedOut(signal, 200), 1.0));
    sample.volume = 48;
    sample.panning = 168;
    return instrumentOf("hi-hat", std::move(sample));
}

// One cycle of a soft sawtooth over a sine an octave below: a round bass that still cuts
// through on small speakers. Held notes sustain until key-off, then fade.
XmInstrument bass() {
    const std::vector<double> saw = sawHarmonics(14, 5.0);
    Signal signal;
    for (int i = 0; i < CycleFrames; ++i) {
        const double phase = static_cast<double>(i) / CycleFrames;
        signal.push_back(harmonics(saw, phase) + 0.6 * std::sin(2.0 * Pi * phase));
    }
    XmSample sample = sampleNamed("bass", eightBit(signal, 1.0));
    loopForward(sample, 0);
    sample.volume = 34;
    XmInstrument instrument = instrumentOf("bass", std::move(sample));
    instrument.volumeEnvelope.points = {{0, 64}, {4, 52}, {16, 40}, {28, 0}};
    instrument.volumeEnvelope.sustainPoint = 2;
    instrument.volumeEnvelope.flags = 1 | 2;
    instrument.fadeout = 2048;
    return instrument;
}

// Root, fifth and octave of slightly detuned sawtooths: a chord that fits major and minor
// alike, stored in 16 bits for its quiet tail. It swells in a slow loop and drifts across the
// stereo field; ping-pong looping keeps the chorus of the detuned voices moving.
XmInstrument pad() {
    const std::vector<double> saw = sawHarmonics(12, 3.0);
    constexpr int Frames = 3072;
    Signal signal;
    for (int i = 0; i < Frames; ++i) {
        const double cycles = static_cast<double>(i) / CycleFrames;
        signal.push_back(harmonics(saw, cycles * 0.9965) + harmonics(saw, cycles * 1.0035) +
                         0.8 * harmonics(saw, cycles * 1.4983) +
                         0.5 * std::sin(2.0 * Pi * cycles * 2.0));
    }
    XmSample sample = sampleNamed("pad", sixteenBit(lowPassed(signal, 0.5), 0.9));
    sample.sixteenBit = true;
    loopPingPong(sample, 768);
    sample.volume = 40;
    XmInstrument instrument = instrumentOf("pad", std::move(sample));
    instrument.volumeEnvelope.points = {{0, 0}, {24, 48}, {48, 64}, {80, 44}, {112, 64}};
    instrument.volumeEnvelope.loopStart = 2;
    instrument.volumeEnvelope.loopEnd = 4;
    instrument.volumeEnvelope.flags = 1 | 4;
    instrument.panningEnvelope.points = {{0, 32}, {60, 46}, {180, 18}, {240, 32}};
    instrument.panningEnvelope.loopStart = 0;
    instrument.panningEnvelope.loopEnd = 3;
    instrument.panningEnvelope.flags = 1 | 4;
    instrument.fadeout = 600;
    return instrument;
}

// A narrow pulse wave with a vibrato that fades in on held notes: the tune's singing voice.
XmInstrument lead() {
    const std::vector<double> pulse = pulseHarmonics(16, 0.3, 6.0);
    Signal signal;
    for (int i = 0; i < CycleFrames; ++i) {
        signal.push_back(harmonics(pulse, static_cast<double>(i) / CycleFrames));
    }
    XmSample sample = sampleNamed("lead", eightBit(signal, 1.0));
    loopForward(sample, 0);
    sample.volume = 44;
    sample.panning = 112;
    XmInstrument instrument = instrumentOf("lead", std::move(sample));
    instrument.volumeEnvelope.points = {{0, 48}, {3, 64}, {12, 52}, {40, 0}};
    instrument.volumeEnvelope.sustainPoint = 2;
    instrument.volumeEnvelope.flags = 1 | 2;
    instrument.vibratoType = 0; // sine
    instrument.vibratoSweep = 40;
    instrument.vibratoDepth = 8;
    instrument.vibratoRate = 24;
    instrument.fadeout = 1024;
    return instrument;
}

// A hollow, bell-like cycle (odd harmonics over the fundamental) that dies away on its own.
XmInstrument pluck() {
    Signal signal;
    for (int i = 0; i < CycleFrames; ++i) {
        const double phase = 2.0 * Pi * i / CycleFrames;
        signal.push_back(std::sin(phase) + 0.45 * std::sin(3.0 * phase) +
                         0.25 * std::sin(5.0 * phase) + 0.12 * std::sin(8.0 * phase));
    }
    XmSample sample = sampleNamed("pluck", eightBit(signal, 1.0));
    loopForward(sample, 0);
    sample.volume = 28;
    sample.panning = 168;
    XmInstrument instrument = instrumentOf("pluck", std::move(sample));
    instrument.volumeEnvelope.points = {{0, 64}, {3, 44}, {12, 20}, {30, 0}};
    instrument.volumeEnvelope.flags = 1;
    instrument.fadeout = 4096;
    return instrument;
}

// Noise through a resonant band-pass: wind when held, a riser under a portamento up.
XmInstrument sweep() {
    Signal signal;
    Noise noise(0x5EED5);
    double low = 0.0;
    double band = 0.0;
    constexpr double Tuning = 0.18; // centre near 500 Hz at C-4
    constexpr double Damping = 0.22;
    for (int i = 0; i < 4000; ++i) {
        // A state-variable filter: the band output rings at the centre frequency.
        const double high = noise.next() - low - Damping * band;
        band += Tuning * high;
        low += Tuning * band;
        signal.push_back(band);
    }
    XmSample sample = sampleNamed("sweep", eightBit(signal, 1.0));
    loopPingPong(sample, 1000);
    sample.volume = 32;
    sample.panning = 96;
    XmInstrument instrument = instrumentOf("sweep", std::move(sample));
    instrument.volumeEnvelope.points = {{0, 0}, {20, 64}, {40, 40}};
    instrument.volumeEnvelope.sustainPoint = 1;
    instrument.volumeEnvelope.flags = 1 | 2;
    instrument.fadeout = 1536;
    return instrument;
}

XmInstrument nameOnly(const char* name) {
    XmInstrument instrument;
    instrument.name = name;
    return instrument;
}

} // namespace

std::vector<XmInstrument> tuneInstruments() {
    return {kick(),
            snare(),
            hiHat(),
            bass(),
            pad(),
            lead(),
            pluck(),
            sweep(),
            nameOnly("omra, composed in code"),
            nameOnly("all sounds synthesised")};
}

} // namespace omra::tools::tune
