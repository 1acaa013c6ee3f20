#include "tune/sample_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace omra::tools::tune {

namespace {

std::vector<std::int16_t> scaled(const Signal& signal, double peak, double fullScale) {
    double largest = 0.0;
    for (const double value : signal) {
        largest = std::max(largest, std::abs(value));
    }
    const double gain = largest > 0.0 ? peak * fullScale / largest : 0.0;
    std::vector<std::int16_t> frames;
    frames.reserve(signal.size());
    for (const double value : signal) {
        const long rounded = std::lround(value * gain);
        frames.push_back(static_cast<std::int16_t>(
            std::clamp(rounded, static_cast<long>(-fullScale - 1), static_cast<long>(fullScale))));
    }
    return frames;
}

} // namespace

double Noise::next() {
    // xorshift32: tiny, and the same sequence on every compiler and library.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
}

double harmonics(const std::vector<double>& amplitudes, double phase) {
    double value = 0.0;
    for (std::size_t k = 0; k < amplitudes.size(); ++k) {
        value +=
            amplitudes[k] * std::sin(2.0 * std::numbers::pi * static_cast<double>(k + 1) * phase);
    }
    return value;
}

std::vector<double> sawHarmonics(int count, double brightness) {
    std::vector<double> amplitudes;
    for (int k = 1; k <= count; ++k) {
        amplitudes.push_back(std::exp(-k / brightness) / k);
    }
    return amplitudes;
}

std::vector<double> pulseHarmonics(int count, double duty, double brightness) {
    std::vector<double> amplitudes;
    for (int k = 1; k <= count; ++k) {
        amplitudes.push_back(std::exp(-k / brightness) * std::sin(std::numbers::pi * k * duty) / k);
    }
    return amplitudes;
}

Signal fadedOut(Signal signal, int frames) {
    const auto count = std::min(signal.size(), static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < count; ++i) {
        signal[signal.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(count);
    }
    return signal;
}

Signal lowPassed(const Signal& signal, double amount) {
    Signal out;
    out.reserve(signal.size());
    double state = 0.0;
    for (const double value : signal) {
        state += amount * (value - state);
        out.push_back(state);
    }
    return out;
}

std::vector<std::int16_t> eightBit(const Signal& signal, double peak) {
    return scaled(signal, peak, 127.0);
}

std::vector<std::int16_t> sixteenBit(const Signal& signal, double peak) {
    return scaled(signal, peak, 32767.0);
}

} // namespace omra::tools::tune
