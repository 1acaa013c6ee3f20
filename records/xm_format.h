#pragma once

#include <cstdint>

// The XM module file as the player reads it and the tools write and check it: where every
// field sits, how large every record is, and the limits of what the player takes. Numbers of
// more than one byte are little-endian. The file holds the module header, then the patterns,
// then the instruments, each followed by its sample headers and then its sample data.
namespace omra::xm {

// Limits of what the player takes.
inline constexpr int MaxChannels = 32;     // the channel table's size
inline constexpr int MaxPatternRows = 256; // more is a corrupt header
inline constexpr int MaxSamplesPerInstrument = 16;
inline constexpr int MaxEnvelopePoints = 12;
inline constexpr int OrderTableSize = 256;

// Module header; offsets from the start of the file.
inline constexpr char IdText[] = "Extended Module: ";
inline constexpr std::int32_t IdBytes = 17;
inline constexpr std::int32_t ModuleNameOffset = 17;
inline constexpr std::int32_t ModuleNameBytes = 20;
inline constexpr std::int32_t NameEndOffset = 37; // holds NameEndMark
inline constexpr std::uint8_t NameEndMark = 0x1A;
inline constexpr std::int32_t TrackerNameOffset = 38;
inline constexpr std::int32_t TrackerNameBytes = 20;
inline constexpr std::int32_t VersionOffset = 58;    // 2 bytes; the player does not examine it
inline constexpr std::uint16_t Version = 0x0104;     // the version the tools write
inline constexpr std::int32_t HeaderSizeOffset = 60; // 4 bytes, counted from this offset
inline constexpr std::int32_t SongLengthOffset = 64; // 2 bytes each from here
inline constexpr std::int32_t RestartPositionOffset = 66;
inline constexpr std::int32_t ChannelCountOffset = 68;
inline constexpr std::int32_t PatternCountOffset = 70;
inline constexpr std::int32_t InstrumentCountOffset = 72;
inline constexpr std::int32_t FlagsOffset = 74;
inline constexpr std::int32_t SpeedOffset = 76; // ticks per row
inline constexpr std::int32_t BpmOffset = 78;
inline constexpr std::int32_t OrderTableOffset = 80; // OrderTableSize pattern numbers
inline constexpr std::int32_t ModuleHeaderEnd = 336;
// The header size the tools write: everything above from HeaderSizeOffset on. A file may give
// a larger one; the first pattern starts at HeaderSizeOffset + the size it gives.
inline constexpr std::uint32_t ModuleHeaderSize = ModuleHeaderEnd - HeaderSizeOffset;

// Header flag bit 0: linear frequency table; clear: Amiga periods.
inline constexpr std::uint16_t LinearFrequencyTable = 1;

static_assert(ModuleNameOffset == IdBytes);
static_assert(NameEndOffset == ModuleNameOffset + ModuleNameBytes);
static_assert(TrackerNameOffset == NameEndOffset + 1);
static_assert(VersionOffset == TrackerNameOffset + TrackerNameBytes);
static_assert(HeaderSizeOffset == VersionOffset + 2);
static_assert(SongLengthOffset == HeaderSizeOffset + 4);
static_assert(OrderTableOffset == BpmOffset + 2);
static_assert(ModuleHeaderEnd == OrderTableOffset + OrderTableSize);
static_assert(ModuleHeaderSize == 276);

// Pattern header, 9 bytes whatever its own length field says; offsets from its start.
inline constexpr std::int32_t PatternHeaderLengthOffset = 0; // 4 bytes
inline constexpr std::int32_t PackingTypeOffset = 4;
inline constexpr std::int32_t RowCountOffset = 5;   // 2 bytes
inline constexpr std::int32_t PackedSizeOffset = 7; // 2 bytes; 0: no cells stored
inline constexpr std::int32_t PatternHeaderBytes = 9;
static_assert(PatternHeaderBytes == PackedSizeOffset + 2);

// Pattern cells: rows x channels of them, row by row, each packed or whole. A first byte with
// PackedCell set says which of the five fields follow (bit 0 the note up to bit 4 the effect
// parameter); otherwise it is the note and all four other fields follow.
inline constexpr std::uint8_t PackedCell = 0x80;
inline constexpr std::int32_t CellFields = 5; // note, instrument, volume, effect, parameter
inline constexpr std::uint8_t LastNote = 96;  // notes are 1..96
inline constexpr std::uint8_t KeyOffNote = 97;
inline constexpr std::uint8_t HighestInstrumentNumber = 128; // instruments are 1..128
inline constexpr int NotesPerInstrument = LastNote;

// A note that names a pitch: neither none (0) nor a key-off, nor a byte no file should hold.
inline constexpr bool isNote(std::uint8_t note) {
    return note >= 1 && note <= LastNote;
}

// Instrument header; offsets from its start. An instrument without samples ends after the
// sample count; one with samples has the fields up to InstrumentFieldsEnd.
inline constexpr std::int32_t InstrumentHeaderSizeOffset = 0; // 4 bytes, from this offset
inline constexpr std::int32_t InstrumentNameOffset = 4;
inline constexpr std::int32_t InstrumentNameBytes = 22;
inline constexpr std::int32_t InstrumentTypeOffset = 26;
inline constexpr std::int32_t SampleCountOffset = 27;      // 2 bytes
inline constexpr std::int32_t SampleHeaderSizeOffset = 29; // 4 bytes; the player reads 40
inline constexpr std::int32_t SampleMapOffset = 33;        // a sample number for each note
inline constexpr std::int32_t EnvelopePointBytes = 4;      // x, y: 2 bytes each
inline constexpr std::int32_t EnvelopeBytes = MaxEnvelopePoints * EnvelopePointBytes;

// Where one envelope's fields sit in the instrument header; one byte each after the points.
struct EnvelopeFields {
    std::int32_t points;
    std::int32_t pointCount;
    std::int32_t sustainPoint;
    std::int32_t loopStart;
    std::int32_t loopEnd;
    std::int32_t type; // bit 0 on, bit 1 sustain, bit 2 loop
};
inline constexpr EnvelopeFields VolumeEnvelopeFields{129, 225, 227, 228, 229, 233};
inline constexpr EnvelopeFields PanningEnvelopeFields{177, 226, 230, 231, 232, 234};

inline constexpr std::int32_t VibratoTypeOffset = 235;
inline constexpr std::int32_t VibratoSweepOffset = 236;
inline constexpr std::int32_t VibratoDepthOffset = 237;
inline constexpr std::int32_t VibratoRateOffset = 238;
inline constexpr std::int32_t FadeoutOffset = 239; // 2 bytes
inline constexpr std::int32_t InstrumentFieldsEnd = 241;
// The header sizes the tools write; reserved bytes follow the fields. A file may give larger
// ones; the sample headers start at the instrument's start + the size it gives.
inline constexpr std::uint32_t InstrumentHeaderSize = 263;
inline constexpr std::uint32_t EmptyInstrumentHeaderSize = SampleHeaderSizeOffset;

static_assert(InstrumentNameOffset == InstrumentHeaderSizeOffset + 4);
static_assert(InstrumentTypeOffset == InstrumentNameOffset + InstrumentNameBytes);
static_assert(SampleCountOffset == InstrumentTypeOffset + 1);
static_assert(SampleHeaderSizeOffset == SampleCountOffset + 2);
static_assert(SampleMapOffset == SampleHeaderSizeOffset + 4);
static_assert(VolumeEnvelopeFields.points == SampleMapOffset + NotesPerInstrument);
static_assert(PanningEnvelopeFields.points == VolumeEnvelopeFields.points + EnvelopeBytes);
static_assert(VolumeEnvelopeFields.pointCount == PanningEnvelopeFields.points + EnvelopeBytes);
static_assert(VibratoTypeOffset == PanningEnvelopeFields.type + 1);
static_assert(FadeoutOffset == VibratoRateOffset + 1);
static_assert(InstrumentFieldsEnd == FadeoutOffset + 2);
static_assert(InstrumentHeaderSize >= InstrumentFieldsEnd);

// Sample header, 40 bytes whatever the instrument header says; offsets from its start. The
// lengths count bytes.
inline constexpr std::int32_t SampleLengthOffset = 0; // 4 bytes each up to the volume
inline constexpr std::int32_t SampleLoopStartOffset = 4;
inline constexpr std::int32_t SampleLoopLengthOffset = 8;
inline constexpr std::int32_t SampleVolumeOffset = 12;
inline constexpr std::int32_t SampleFinetuneOffset = 13; // signed
inline constexpr std::int32_t SampleTypeOffset = 14;
inline constexpr std::int32_t SamplePanningOffset = 15;
inline constexpr std::int32_t SampleRelativeNoteOffset = 16; // signed
inline constexpr std::int32_t SampleNameOffset = 18;         // after a reserved byte
inline constexpr std::int32_t SampleNameBytes = 22;
inline constexpr std::uint32_t SampleHeaderSize = 40;
static_assert(SampleVolumeOffset == SampleLoopLengthOffset + 4);
static_assert(SampleNameOffset == SampleRelativeNoteOffset + 2);
static_assert(SampleHeaderSize == SampleNameOffset + SampleNameBytes);

// Sample type bits. Both loop bits set plays ping-pong.
inline constexpr std::uint8_t ForwardLoopType = 0x01;
inline constexpr std::uint8_t PingPongLoopType = 0x02;
inline constexpr std::uint8_t SixteenBitType = 0x10;

// Sample data follows the instrument's last sample header: each sample's bytes in header
// order, every value the difference from the one before (the first from 0).

} // namespace omra::xm
