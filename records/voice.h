#pragma once

#include "records/song.h"

#include <array>
#include <cstdint>

namespace omra {

// Directions of play through a sample.
inline constexpr std::int32_t Forward = 1;
inline constexpr std::int32_t Backward = 2;

// One sounding sample in the mixer. The sequencer sets what to play and how loud; the mixer
// advances the position and owns the ramp fields. Position and step are unsigned 32.32 fixed
// point; gains are 0..255 with 255 as unity; levels are gains in 8.8 fixed point.
struct Voice {
    std::int32_t index = 0;
    std::int32_t frequency = 0;
    std::int32_t volume = 0;
    std::int32_t panning = 0;
    std::int32_t startOffset = 0;
    const Sample* sample = nullptr; // none: idle, skipped by the mixer
    std::int32_t gainLeft = 0;
    std::int32_t gainRight = 0;
    std::uint32_t position = 0;
    std::uint32_t positionFraction = 0;
    std::uint32_t stepFraction = 0;
    std::uint32_t step = 0;
    std::int32_t direction = Forward;
    std::int32_t rampGainLeft = 0;
    std::int32_t rampGainRight = 0;
    std::int32_t levelLeft = 0;
    std::int32_t levelRight = 0;
    float rampStepLeft = 0.0f;
    float rampStepRight = 0.0f;
    std::int32_t rampFrames = 0;
};

using VoicePool = std::array<Voice, VoiceCount>;

} // namespace omra
