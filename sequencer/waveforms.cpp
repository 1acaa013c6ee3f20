#include "sequencer/waveforms.h"

#include <cmath>

namespace omra {

namespace {

constexpr double VibratoAngleStep = 0.049087375;     // about 2 pi / 128, used twice per step
constexpr float AutoVibratoAngleStep = 0.024543688f; // about 2 pi / 256

Waveform shapeOfNibble(std::uint8_t nibble, Waveform third) {
    switch (nibble & 3) {
    case 0:
        return Waveform::Sine;
    case 1:
        return Waveform::Ramp;
    case 2:
        return Waveform::Square;
    default:
        return third;
    }
}

} // namespace

// Waveform 3 is a square for the vibrato but a sine for the tremolo: see vibrato() and tremolo().
Waveform vibratoWaveform(std::uint8_t waveformControl) {
    return shapeOfNibble(waveformControl, Waveform::Square);
}

Waveform tremoloWaveform(std::uint8_t waveformControl) {
    return shapeOfNibble(waveformControl >> 4, Waveform::Sine);
}

std::int32_t waveformValue(Waveform waveform, std::int32_t position) {
    switch (waveform) {
    case Waveform::Sine:
        return static_cast<std::int32_t>(
            std::fabs(std::sin(2 * position * VibratoAngleStep) * 256));
    case Waveform::Ramp:
        return (position >= 0 ? 8 * position : 255 - 8 * (position + 32)) & 0xFF;
    case Waveform::Square:
        break;
    }
    return 255;
}

std::int32_t autoVibratoValue(std::uint8_t type, std::int32_t position) {
    switch (type) {
    case 0:
        // The angle is single precision, the sine double: a float sine rounds sin(~pi/2) up to
        // exactly 1 and would reach 64 at the peaks instead of 63.
        return static_cast<std::int32_t>(
            std::sin(static_cast<double>(static_cast<float>(position) * AutoVibratoAngleStep)) *
            64);
    case 1:
        return position < 128 ? 64 : -64;
    case 2:
        return (128 - (position + 128) % 256) >> 1;
    case 3:
        return (128 - (384 - position) % 256) >> 1;
    default:
        return 0;
    }
}

} // namespace omra
