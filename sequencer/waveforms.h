#pragma once

#include <cstdint>

// The periodic shapes behind vibrato, tremolo and the instruments' auto-vibrato.
namespace omra {

enum class Waveform { Sine, Ramp, Square };

// The vibrato and tremolo shapes selected by a channel's waveform nibble.
Waveform vibratoWaveform(std::uint8_t waveformControl);
Waveform tremoloWaveform(std::uint8_t waveformControl);

// The magnitude 0..255 of a vibrato or tremolo shape at a position of its 64-step cycle
// (-32..31).
std::int32_t waveformValue(Waveform waveform, std::int32_t position);

// The auto-vibrato shape of instrument vibrato type 0..3 at a position of its 256-step cycle,
// -64..64; types the module format does not define give 0.
std::int32_t autoVibratoValue(std::uint8_t type, std::int32_t position);

} // namespace omra
