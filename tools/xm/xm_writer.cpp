#include "xm/xm_writer.h"

#include <algorithm>

namespace omra::tools {

namespace {

constexpr std::uint32_t ModuleHeaderSize = 276;
constexpr std::uint32_t InstrumentHeaderSize = 263;
constexpr std::uint32_t EmptyInstrumentHeaderSize = 29;
constexpr std::uint32_t SampleHeaderSize = 40;
constexpr std::size_t MaxEnvelopePoints = 12;

class Writer {
public:
    void u8(unsigned value) { bytes.push_back(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value) {
        u8(value & 0xFF);
        u8((value >> 8) & 0xFF);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    // A fixed-size text field, cut or padded with zeros.
    void text(const std::string& value, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            u8(i < value.size() ? static_cast<unsigned char>(value[i]) : 0);
        }
    }
    void zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void append(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
    }

    std::vector<std::uint8_t> bytes;
};

void rawCell(Writer& out, const XmCell& cell) {
    out.u8(cell.note);
    out.u8(cell.instrument);
    out.u8(cell.volume);
    out.u8(cell.effect);
    out.u8(cell.parameter);
}

// A cell with every field present is stored raw; any other cell behind a mask byte.
void packCell(Writer& out, const XmCell& cell) {
    const bool full = cell.note != 0 && cell.instrument != 0 && cell.volume != 0 &&
                      cell.effect != 0 && cell.parameter != 0;
    if (full && cell.note < 0x80) {
        rawCell(out, cell);
        return;
    }
    const unsigned mask = 0x80 | (cell.note ? 1 : 0) | (cell.instrument ? 2 : 0) |
                          (cell.volume ? 4 : 0) | (cell.effect ? 8 : 0) | (cell.parameter ? 16 : 0);
    out.u8(mask);
    for (const std::uint8_t field :
         {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter}) {
        if (field != 0) {
            out.u8(field);
        }
    }
}

void writePattern(Writer& out, const XmPattern& pattern) {
    Writer packed;
    for (const XmCell& cell : pattern.cells) {
        if (pattern.unpacked) {
            rawCell(packed, cell);
        } else {
            packCell(packed, cell);
        }
    }
    out.u32(pattern.declaredHeaderLength);
    out.u8(0); // packing type
    out.u16(pattern.rows);
    out.u16(pattern.declaredPackedSize.value_or(static_cast<std::uint16_t>(packed.bytes.size())));
    out.append(packed.bytes);
}

void writeEnvelopePoints(Writer& out, const XmEnvelope& envelope) {
    for (std::size_t i = 0; i < MaxEnvelopePoints; ++i) {
        const XmEnvelopePoint point =
            i < envelope.points.size() ? envelope.points[i] : XmEnvelopePoint{0, 0};
        out.u16(point.x);
        out.u16(point.y);
    }
}

unsigned pointCount(const XmEnvelope& envelope) {
    if (envelope.declaredPointCount) {
        return *envelope.declaredPointCount;
    }
    return static_cast<unsigned>(std::min(envelope.points.size(), MaxEnvelopePoints));
}

std::uint32_t bytesPerFrame(const XmSample& sample) {
    return sample.sixteenBit ? 2 : 1;
}

void writeSampleHeader(Writer& out, const XmSample& sample) {
    const std::uint32_t unit = bytesPerFrame(sample);
    out.u32(sample.declaredByteLength.value_or(static_cast<std::uint32_t>(sample.frames.size()) *
                                               unit));
    out.u32(sample.loopStart * unit);
    out.u32(sample.loopLength * unit);
    out.u8(sample.volume);
    out.u8(static_cast<std::uint8_t>(sample.finetune));
    out.u8((sample.loopType & 3) | (sample.sixteenBit ? 0x10 : 0));
    out.u8(sample.panning);
    out.u8(static_cast<std::uint8_t>(sample.relativeNote));
    out.u8(0); // reserved
    out.text(sample.name, 22);
}

// Sample data is stored as differences between neighbouring frames.
void writeSampleData(Writer& out, const XmSample& sample) {
    int previous = 0;
    for (const std::int16_t frame : sample.frames) {
        const int delta = frame - previous;
        previous = frame;
        if (sample.sixteenBit) {
            out.u16(static_cast<unsigned>(delta) & 0xFFFF);
        } else {
            out.u8(static_cast<unsigned>(delta) & 0xFF);
        }
    }
}

void writeInstrument(Writer& out, const XmInstrument& instrument) {
    const bool hasSamples = !instrument.samples.empty();
    out.u32((hasSamples ? InstrumentHeaderSize : EmptyInstrumentHeaderSize) +
            instrument.headerPadding);
    out.text(instrument.name, 22);
    out.u8(0); // type
    out.u16(static_cast<unsigned>(instrument.samples.size()));
    if (!hasSamples) {
        out.zeros(instrument.headerPadding);
        return;
    }
    out.u32(SampleHeaderSize);
    for (const std::uint8_t sample : instrument.sampleForNote) {
        out.u8(sample);
    }
    const XmEnvelope& volume = instrument.volumeEnvelope;
    const XmEnvelope& panning = instrument.panningEnvelope;
    writeEnvelopePoints(out, volume);
    writeEnvelopePoints(out, panning);
    out.u8(pointCount(volume));
    out.u8(pointCount(panning));
    out.u8(volume.sustainPoint);
    out.u8(volume.loopStart);
    out.u8(volume.loopEnd);
    out.u8(panning.sustainPoint);
    out.u8(panning.loopStart);
    out.u8(panning.loopEnd);
    out.u8(volume.flags);
    out.u8(panning.flags);
    out.u8(instrument.vibratoType);
    out.u8(instrument.vibratoSweep);
    out.u8(instrument.vibratoDepth);
    out.u8(instrument.vibratoRate);
    out.u16(instrument.fadeout);
    out.zeros(22); // reserved
    out.zeros(instrument.headerPadding);
    for (const XmSample& sample : instrument.samples) {
        writeSampleHeader(out, sample);
    }
    for (const XmSample& sample : instrument.samples) {
        writeSampleData(out, sample);
    }
}

} // namespace

XmPattern emptyPattern(int rows, int channels) {
    XmPattern pattern;
    pattern.rows = static_cast<std::uint16_t>(rows);
    pattern.cells.assign(static_cast<std::size_t>(rows) * channels, XmCell{});
    return pattern;
}

std::vector<std::uint8_t> writeXm(const XmModule& module) {
    Writer out;
    out.text("Extended Module: ", 17);
    out.text(module.name, 20);
    out.u8(0x1A);
    out.text(module.trackerName, 20);
    out.u16(0x0104);
    out.u32(ModuleHeaderSize + module.headerPadding);
    out.u16(static_cast<unsigned>(module.orders.size()));
    out.u16(module.restartPosition);
    out.u16(module.channels);
    out.u16(static_cast<unsigned>(module.patterns.size()));
    out.u16(static_cast<unsigned>(module.instruments.size()));
    out.u16(module.linearFrequencies ? 1 : 0);
    out.u16(module.speed);
    out.u16(module.bpm);
    for (std::size_t i = 0; i < 256; ++i) {
        out.u8(i < module.orders.size() ? module.orders[i] : 0);
    }
    out.zeros(module.headerPadding);
    for (const XmPattern& pattern : module.patterns) {
        writePattern(out, pattern);
    }
    for (const XmInstrument& instrument : module.instruments) {
        writeInstrument(out, instrument);
    }
    return out.bytes;
}

} // namespace omra::tools
