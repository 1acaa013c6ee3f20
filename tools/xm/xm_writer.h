#pragma once

#include "records/xm_format.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A small writer of XM modules, for the intro's tune and for tests that need a module made
// to measure. It writes the layout the player reads (records/xm_format.h), with the header sizes
// every XM reader expects, packed cells and delta-coded sample data. The `declared...` and
// `...Padding` fields write modules whose headers disagree with their contents, for tests of
// how a reader copes; left at their defaults they change nothing.
namespace omra::tools {

struct XmSample {
    std::string name;
    std::vector<std::int16_t> frames; // 8-bit samples use the range -128..127
    bool sixteenBit = false;
    std::uint32_t loopStart = 0;  // in frames
    std::uint32_t loopLength = 0; // in frames
    std::uint8_t loopType = 0;    // 0 none, 1 forward, 2 ping-pong
    std::uint8_t volume = 64;
    std::int8_t finetune = 0;
    std::uint8_t panning = 128;
    std::int8_t relativeNote = 0;
    std::optional<std::uint32_t> declaredByteLength; // written instead of the data's length
};

struct XmEnvelopePoint {
    std::uint16_t x;
    std::uint16_t y;
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points; // at most xm::MaxEnvelopePoints are written
    std::uint8_t sustainPoint = 0;
    std::uint8_t loopStart = 0;
    std::uint8_t loopEnd = 0;
    std::uint8_t flags = 0;                         // bit 0 on, bit 1 sustain, bit 2 loop
    std::optional<std::uint8_t> declaredPointCount; // written instead of the point count
};

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;
    std::array<std::uint8_t, xm::NotesPerInstrument> sampleForNote{};
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    std::uint8_t vibratoType = 0;
    std::uint8_t vibratoSweep = 0;
    std::uint8_t vibratoDepth = 0;
    std::uint8_t vibratoRate = 0;
    std::uint16_t fadeout = 0;
    std::uint32_t headerPadding = 0; // zero bytes added to the end of the instrument header
};

struct XmCell {
    std::uint8_t note = 0; // 1..xm::LastNote, or xm::KeyOffNote
    std::uint8_t instrument = 0;
    std::uint8_t volume = 0;
    std::uint8_t effect = 0;
    std::uint8_t parameter = 0;
};

struct XmPattern {
    std::uint16_t rows = 64;
    std::vector<XmCell> cells; // rows x channels, row by row; empty writes an empty pattern
    bool unpacked = false;     // every cell as five raw bytes instead of packed
    std::uint32_t declaredHeaderLength = 9;          // the header is 9 bytes whatever this says
    std::optional<std::uint16_t> declaredPackedSize; // written instead of the data's size

    XmCell& at(int row, int channel, int channels) { return cells.at(row * channels + channel); }
};

struct XmModule {
    std::string name;
    std::string trackerName = "omra xm writer";
    std::uint16_t channels = 2;
    std::uint16_t restartPosition = 0;
    bool linearFrequencies = true;
    std::uint16_t speed = 6;
    std::uint16_t bpm = 125;
    std::vector<std::uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
    std::uint32_t headerPadding = 0; // zero bytes added to the end of the module header
};

// A pattern of `rows` empty rows for `channels` channels.
XmPattern emptyPattern(int rows, int channels);

std::vector<std::uint8_t> writeXm(const XmModule& module);

} // namespace omra::tools
