#pragma once

#include <cstdint>
#include <vector>

// Building blocks for the tune's synthesised samples: a repeatable noise source, band-limited
// oscillators, simple filters and the conversion to the module's 8-bit and 16-bit frames.
namespace omra::tools::tune {

using Signal = std::vector<double>;

// White noise from a fixed seed, so the generator writes the same module every time.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next(); // -1..1

private:
    std::uint32_t state;
};

// One frame's value of a waveform made of harmonics `amplitudes[k - 1]` of a fundamental at
// `phase` (in cycles).
double harmonics(const std::vector<double>& amplitudes, double phase);

// Harmonic amplitudes of a sawtooth and of a pulse with the given duty cycle, softened above
// `brightness` so that the waveform does not alias where it is played.
std::vector<double> sawHarmonics(int count, double brightness);
std::vector<double> pulseHarmonics(int count, double duty, double brightness);

// The signal with its last `frames` frames faded to silence, so a one-shot sample does not end
// with a click.
Signal fadedOut(Signal signal, int frames);

// A one-pole low-pass filter run over the signal; `amount` 0..1 is how much of each new frame
// gets through.
Signal lowPassed(const Signal& signal, double amount);

// The signal scaled so that its largest magnitude is `peak` (0..1 of full scale), rounded to
// 8-bit (-128..127) or 16-bit frames.
std::vector<std::int16_t> eightBit(const Signal& signal, double peak);
std::vector<std::int16_t> sixteenBit(const Signal& signal, double peak);

} // namespace omra::tools::tune
