#pragma once

#include <cstdint>

// Effect-column types as the module format numbers them; 10 onwards are written A, B, C ...
namespace omra::effect {

inline constexpr std::uint8_t Arpeggio = 0;
inline constexpr std::uint8_t PortamentoUp = 1;
inline constexpr std::uint8_t PortamentoDown = 2;
inline constexpr std::uint8_t TonePortamento = 3;
inline constexpr std::uint8_t Vibrato = 4;
inline constexpr std::uint8_t TonePortamentoVolumeSlide = 5;
inline constexpr std::uint8_t VibratoVolumeSlide = 6;
inline constexpr std::uint8_t Tremolo = 7;
inline constexpr std::uint8_t SetPanning = 8;
inline constexpr std::uint8_t SampleOffset = 9;
inline constexpr std::uint8_t VolumeSlide = 10;         // A
inline constexpr std::uint8_t OrderJump = 11;           // B
inline constexpr std::uint8_t SetVolume = 12;           // C
inline constexpr std::uint8_t PatternBreak = 13;        // D
inline constexpr std::uint8_t Extended = 14;            // E
inline constexpr std::uint8_t SpeedOrTempo = 15;        // F
inline constexpr std::uint8_t SetGlobalVolume = 16;     // G
inline constexpr std::uint8_t GlobalVolumeSlide = 17;   // H
inline constexpr std::uint8_t KeyOff = 20;              // K
inline constexpr std::uint8_t SetEnvelopePosition = 21; // L
inline constexpr std::uint8_t PanningSlide = 25;        // P
inline constexpr std::uint8_t MultiRetrigger = 27;      // R
inline constexpr std::uint8_t Tremor = 29;              // T
inline constexpr std::uint8_t ExtraFinePortamento = 33; // X

// Extended commands: the high nibble of an E effect's parameter.
inline constexpr std::uint8_t FinePortamentoUp = 0x1;
inline constexpr std::uint8_t FinePortamentoDown = 0x2;
inline constexpr std::uint8_t VibratoWaveform = 0x4;
inline constexpr std::uint8_t SetFinetune = 0x5;
inline constexpr std::uint8_t PatternLoop = 0x6;
inline constexpr std::uint8_t TremoloWaveform = 0x7;
inline constexpr std::uint8_t SetPanningCoarse = 0x8;
inline constexpr std::uint8_t Retrigger = 0x9;
inline constexpr std::uint8_t FineVolumeUp = 0xA;
inline constexpr std::uint8_t FineVolumeDown = 0xB;
inline constexpr std::uint8_t NoteCut = 0xC;
inline constexpr std::uint8_t NoteDelay = 0xD;
inline constexpr std::uint8_t PatternDelay = 0xE;

// A row's effect that makes its note slide to the new pitch instead of restarting.
inline bool isTonePortamento(std::uint8_t type) {
    return type == TonePortamento || type == TonePortamentoVolumeSlide;
}

} // namespace omra::effect
