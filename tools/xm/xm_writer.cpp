#include "xm/xm_writer.h"

#include "core/little_endian.h"
#include "records/xm_format.h"

#include <algorithm>

namespace omra::tools {

namespace {

class Writer {
public:
    void u8(unsigned value) { bytes.push_back(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value) { appendU16LE(bytes, static_cast<std::uint16_t>(value)); }
    void zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void append(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
    }

    std::vector<std::uint8_t> bytes;
};

// A record of fixed size added to the output as zeros, its fields then put at their offsets.
class Record {
public:
    Record(Writer& out, std::size_t size) : bytes_(out.bytes), start_(out.bytes.size()) {
        out.zeros(size);
    }

    void u8(std::int32_t offset, unsigned value) {
        bytes_.at(start_ + static_cast<std::size_t>(offset)) = static_cast<std::uint8_t>(value);
    }
    void u16(std::int32_t offset, unsigned value) {
        putU16LE(at(offset, 2), static_cast<std::uint16_t>(value));
    }
    void u32(std::int32_t offset, std::uint32_t value) { putU32LE(at(offset, 4), value); }
    // A text field of `size` bytes, cut or left padded with zeros.
    void text(std::int32_t offset, std::int32_t size, const std::string& value) {
        for (std::size_t i = 0; i < std::min(value.size(), static_cast<std::size_t>(size)); ++i) {
            u8(offset + static_cast<std::int32_t>(i), static_cast<unsigned char>(value[i]));
        }
    }

private:
    // The field's first byte, once its last is known to lie inside the output.
    std::uint8_t* at(std::int32_t offset, std::int32_t size) {
        const std::size_t first = start_ + static_cast<std::size_t>(offset);
        bytes_.at(first + static_cast<std::size_t>(size) - 1);
        return &bytes_[first];
    }

    std::vector<std::uint8_t>& bytes_;
    std::size_t start_;
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
    const std::uint8_t fields[xm::CellFields] = {cell.note, cell.instrument, cell.volume,
                                                 cell.effect, cell.parameter};
    unsigned present = 0;
    for (int bit = 0; bit < xm::CellFields; ++bit) {
        present |= fields[bit] != 0 ? 1u << bit : 0;
    }
    const bool full = present == (1u << xm::CellFields) - 1;
    if (full && (cell.note & xm::PackedCell) == 0) {
        rawCell(out, cell);
        return;
    }
    out.u8(xm::PackedCell | present);
    for (const std::uint8_t field : fields) {
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
    Record header(out, xm::PatternHeaderBytes);
    header.u32(xm::PatternHeaderLengthOffset, pattern.declaredHeaderLength);
    header.u8(xm::PackingTypeOffset, 0);
    header.u16(xm::RowCountOffset, pattern.rows);
    header.u16(xm::PackedSizeOffset, pattern.declaredPackedSize.value_or(
                                         static_cast<std::uint16_t>(packed.bytes.size())));
    out.append(packed.bytes);
}

unsigned pointCount(const XmEnvelope& envelope) {
    if (envelope.declaredPointCount) {
        return *envelope.declaredPointCount;
    }
    return static_cast<unsigned>(
        std::min<std::size_t>(envelope.points.size(), xm::MaxEnvelopePoints));
}

void writeEnvelope(Record& header, const xm::EnvelopeFields& fields, const XmEnvelope& envelope) {
    const std::size_t stored = std::min<std::size_t>(envelope.points.size(), xm::MaxEnvelopePoints);
    for (std::size_t i = 0; i < stored; ++i) {
        const std::int32_t at =
            fields.points + static_cast<std::int32_t>(i) * xm::EnvelopePointBytes;
        header.u16(at, envelope.points[i].x);
        header.u16(at + 2, envelope.points[i].y);
    }
    header.u8(fields.pointCount, pointCount(envelope));
    header.u8(fields.sustainPoint, envelope.sustainPoint);
    header.u8(fields.loopStart, envelope.loopStart);
    header.u8(fields.loopEnd, envelope.loopEnd);
    header.u8(fields.type, envelope.flags);
}

std::uint32_t bytesPerFrame(const XmSample& sample) {
    return sample.sixteenBit ? 2 : 1;
}

void writeSampleHeader(Writer& out, const XmSample& sample) {
    const std::uint32_t unit = bytesPerFrame(sample);
    Record header(out, xm::SampleHeaderSize);
    header.u32(xm::SampleLengthOffset,
               sample.declaredByteLength.value_or(static_cast<std::uint32_t>(sample.frames.size()) *
                                                  unit));
    header.u32(xm::SampleLoopStartOffset, sample.loopStart * unit);
    header.u32(xm::SampleLoopLengthOffset, sample.loopLength * unit);
    header.u8(xm::SampleVolumeOffset, sample.volume);
    header.u8(xm::SampleFinetuneOffset, static_cast<std::uint8_t>(sample.finetune));
    header.u8(xm::SampleTypeOffset,
              (sample.loopType & (xm::ForwardLoopType | xm::PingPongLoopType)) |
                  (sample.sixteenBit ? xm::SixteenBitType : 0));
    header.u8(xm::SamplePanningOffset, sample.panning);
    header.u8(xm::SampleRelativeNoteOffset, static_cast<std::uint8_t>(sample.relativeNote));
    header.text(xm::SampleNameOffset, xm::SampleNameBytes, sample.name);
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
    const std::uint32_t headerSize =
        (hasSamples ? xm::InstrumentHeaderSize : xm::EmptyInstrumentHeaderSize) +
        instrument.headerPadding;
    Record header(out, headerSize);
    header.u32(xm::InstrumentHeaderSizeOffset, headerSize);
    header.text(xm::InstrumentNameOffset, xm::InstrumentNameBytes, instrument.name);
    header.u8(xm::InstrumentTypeOffset, 0);
    header.u16(xm::SampleCountOffset, static_cast<unsigned>(instrument.samples.size()));
    if (!hasSamples) {
        return;
    }
    header.u32(xm::SampleHeaderSizeOffset, xm::SampleHeaderSize);
    for (int note = 0; note < xm::NotesPerInstrument; ++note) {
        header.u8(xm::SampleMapOffset + note, instrument.sampleForNote[note]);
    }
    writeEnvelope(header, xm::VolumeEnvelopeFields, instrument.volumeEnvelope);
    writeEnvelope(header, xm::PanningEnvelopeFields, instrument.panningEnvelope);
    header.u8(xm::VibratoTypeOffset, instrument.vibratoType);
    header.u8(xm::VibratoSweepOffset, instrument.vibratoSweep);
    header.u8(xm::VibratoDepthOffset, instrument.vibratoDepth);
    header.u8(xm::VibratoRateOffset, instrument.vibratoRate);
    header.u16(xm::FadeoutOffset, instrument.fadeout);
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
    const std::uint32_t headerSize = xm::ModuleHeaderSize + module.headerPadding;
    Record header(out, xm::HeaderSizeOffset + headerSize);
    header.text(0, xm::IdBytes, xm::IdText);
    header.text(xm::ModuleNameOffset, xm::ModuleNameBytes, module.name);
    header.u8(xm::NameEndOffset, xm::NameEndMark);
    header.text(xm::TrackerNameOffset, xm::TrackerNameBytes, module.trackerName);
    header.u16(xm::VersionOffset, xm::Version);
    header.u32(xm::HeaderSizeOffset, headerSize);
    header.u16(xm::SongLengthOffset, static_cast<unsigned>(module.orders.size()));
    header.u16(xm::RestartPositionOffset, module.restartPosition);
    header.u16(xm::ChannelCountOffset, module.channels);
    header.u16(xm::PatternCountOffset, static_cast<unsigned>(module.patterns.size()));
    header.u16(xm::InstrumentCountOffset, static_cast<unsigned>(module.instruments.size()));
    header.u16(xm::FlagsOffset, module.linearFrequencies ? xm::LinearFrequencyTable : 0);
    header.u16(xm::SpeedOffset, module.speed);
    header.u16(xm::BpmOffset, module.bpm);
    const std::size_t orders = std::min<std::size_t>(module.orders.size(), xm::OrderTableSize);
    for (std::size_t i = 0; i < orders; ++i) {
        header.u8(xm::OrderTableOffset + static_cast<std::int32_t>(i), module.orders[i]);
    }
    for (const XmPattern& pattern : module.patterns) {
        writePattern(out, pattern);
    }
    for (const XmInstrument& instrument : module.instruments) {
        writeInstrument(out, instrument);
    }
    return out.bytes;
}

} // namespace omra::tools
