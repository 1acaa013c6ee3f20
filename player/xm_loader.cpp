#include "player/xm_loader.h"

#include "core/little_endian.h"
#include "records/oddities.h"
#include "records/xm_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace omra {

namespace {

constexpr std::uint8_t InitialGlobalVolume = 64;
constexpr LoadReport OutOfMemory{RefusalReason::OutOfMemory};
constexpr std::uint16_t Int16Max = std::numeric_limits<std::int16_t>::max();

// Counts the song holds in 16-bit signed fields; larger stored values would turn negative.
std::int16_t asCount(std::uint16_t stored) {
    return static_cast<std::int16_t>(std::min(stored, Int16Max));
}

// Zero-filled arrays that report running out of memory as none instead of throwing.
template <typename T>
std::unique_ptr<T[]> makeArray(std::size_t count) {
    if (count > static_cast<std::size_t>(PTRDIFF_MAX) / sizeof(T)) {
        return nullptr; // more than any allocation can hold
    }
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// Reads the module's records and bytes. The read results are not examined: bytes the file no
// longer holds read as zero, so a truncated module still loads. It notes the first read the file
// could not fill, in the part of the module the loader says it is reading.
class Reader {
public:
    explicit Reader(ModuleStream& stream) : stream_(stream) {
        // The one seek from the end, deliberately: the file's size bounds the counts its header
        // claims, so a corrupt count cannot make the loader reserve gigabytes
        // (XmLoaderMends.ReadsNoMoreStoredPatternsThanTheFileHasHeadersFor).
        stream_.seek(0, SeekFromEnd);
        size_ = stream_.tell();
        stream_.seek(0, SeekFromStart);
    }

    void bytes(void* destination, std::int32_t count) {
        noteShortRead(count);
        position_ += count;
        std::memset(destination, 0, static_cast<std::size_t>(count));
        stream_.read(destination, count);
    }
    std::uint8_t u8() {
        std::uint8_t value[1];
        bytes(value, 1);
        return value[0];
    }

    // Header sizes are unsigned 32-bit; a position past what an offset can express is past the
    // end of the file anyway.
    void seekTo(std::int64_t position) {
        position_ = position;
        const std::int64_t largest = std::numeric_limits<std::int32_t>::max();
        stream_.seek(static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, largest)),
                     SeekFromStart);
    }
    std::int32_t tell() { return stream_.tell(); }
    std::int64_t bytesLeft() { return std::max<std::int64_t>(0, size_ - stream_.tell()); }

    void enter(ModulePart part, std::int32_t index) {
        part_ = part;
        index_ = index;
    }
    // Notes a read of `count` bytes from here that the file cannot fill, if it is the first.
    void noteShortRead(std::int64_t count) {
        if (!shortRead_.happened() && position_ + count > size_) {
            shortRead_ = {part_, index_, position_ + count, size_};
        }
    }
    const ShortRead& shortRead() const { return shortRead_; }

private:
    ModuleStream& stream_;
    std::int32_t size_ = 0;
    // Where the reads would be in a file long enough; the stream stops at its end.
    std::int64_t position_ = 0;
    ModulePart part_ = ModulePart::None;
    std::int32_t index_ = 0;
    ShortRead shortRead_;
};

// The module header: identification, counts, order table. Refuses a wrong identification text
// or more channels than the channel table holds.
LoadReport readHeader(Song& song, Reader& in, std::uint16_t& storedPatterns) {
    std::uint8_t header[xm::ModuleHeaderEnd];
    in.enter(ModulePart::Header, 0);
    in.seekTo(0);
    in.bytes(header, sizeof header);
    if (std::memcmp(header, xm::IdText, xm::IdBytes) != 0) {
        return {RefusalReason::NotXm};
    }
    song.initialGlobalVolume = InitialGlobalVolume;

    const std::uint16_t channels = readU16LE(header + xm::ChannelCountOffset);
    if (channels > xm::MaxChannels) {
        return {RefusalReason::TooManyChannels, 0, channels};
    }
    song.channelCount = static_cast<std::int16_t>(channels);
    // The order table has 256 entries; a longer song would play past it.
    song.songLength = static_cast<std::int16_t>(
        std::min<int>(readU16LE(header + xm::SongLengthOffset), xm::OrderTableSize));
    const std::uint16_t restart = readU16LE(header + xm::RestartPositionOffset);
    song.restartPosition = restart < song.songLength ? static_cast<std::int16_t>(restart) : 0;
    storedPatterns = readU16LE(header + xm::PatternCountOffset);
    song.instrumentCount = asCount(readU16LE(header + xm::InstrumentCountOffset));
    song.flags = readU16LE(header + xm::FlagsOffset);
    song.defaultSpeed = asCount(readU16LE(header + xm::SpeedOffset));
    // The tempo rule divides by the BPM.
    song.defaultBpm = std::max<std::int16_t>(1, asCount(readU16LE(header + xm::BpmOffset)));
    std::copy_n(header + xm::OrderTableOffset, xm::OrderTableSize, song.orderTable.begin());

    in.seekTo(xm::HeaderSizeOffset +
              static_cast<std::int64_t>(readU32LE(header + xm::HeaderSizeOffset)));
    return {};
}

PatternCell readCell(Reader& in) {
    PatternCell cell{};
    const std::uint8_t first = in.u8();
    if (first & xm::PackedCell) {
        std::uint8_t* fields[] = {&cell.note, &cell.instrument, &cell.volumeColumn, &cell.effect,
                                  &cell.effectParam};
        for (int bit = 0; bit < xm::CellFields; ++bit) {
            if (first & (1 << bit)) {
                *fields[bit] = in.u8();
            }
        }
    } else {
        cell.note = first;
        std::uint8_t rest[xm::CellFields - 1];
        in.bytes(rest, sizeof rest);
        cell.instrument = rest[0];
        cell.volumeColumn = rest[1];
        cell.effect = rest[2];
        cell.effectParam = rest[3];
    }
    if (cell.note == xm::KeyOffNote) {
        cell.note = StoredKeyOff;
    }
    if (cell.instrument > xm::HighestInstrumentNumber) {
        cell.instrument = 0;
    }
    return cell;
}

bool makeEmptyPattern(Pattern& pattern, std::int32_t channels) {
    pattern.rows = EmptyPatternRows;
    pattern.cells = makeArray<PatternCell>(static_cast<std::size_t>(EmptyPatternRows) * channels);
    return pattern.cells != nullptr;
}

// Refuses a pattern of more rows than the format holds. More is a corrupt header: a pattern
// stored without cells takes 9 bytes of the file whatever its rows, and 65535 rows of 32
// channels are 10 MB of cells.
LoadReport readPatterns(Song& song, Reader& in, std::uint16_t storedPatterns) {
    const std::int32_t channels = song.channelCount;
    for (std::int32_t index = 0; index < storedPatterns; ++index) {
        Pattern& pattern = song.patterns[index];
        in.enter(ModulePart::Pattern, index);
        // The header length and packing type are not used: the header is always 9 bytes.
        std::uint8_t header[xm::PatternHeaderBytes];
        in.bytes(header, sizeof header);
        const std::uint16_t rows = readU16LE(header + xm::RowCountOffset);
        const std::uint16_t packedSize = readU16LE(header + xm::PackedSizeOffset);
        if (rows > xm::MaxPatternRows) {
            return {RefusalReason::TooManyRows, index, rows};
        }
        // The sequencer needs at least one row; such a pattern plays like a missing one.
        if (rows == 0) {
            if (!makeEmptyPattern(pattern, channels)) {
                return OutOfMemory;
            }
            continue;
        }
        const std::size_t cellCount = static_cast<std::size_t>(rows) * channels;
        pattern.rows = rows;
        pattern.cells = makeArray<PatternCell>(cellCount);
        if (pattern.cells == nullptr) {
            return OutOfMemory;
        }
        // The packed size only tells empty from not empty; the next pattern starts where the
        // cells end.
        if (packedSize != 0) {
            for (std::size_t cell = 0; cell < cellCount; ++cell) {
                pattern.cells[cell] = readCell(in);
            }
        }
    }
    for (std::int32_t index = storedPatterns; index < song.patternsUsed; ++index) {
        if (!makeEmptyPattern(song.patterns[index], channels)) {
            return OutOfMemory;
        }
    }
    return {};
}

void readEnvelopePoints(const std::uint8_t* stored,
                        std::array<EnvelopePoint, xm::MaxEnvelopePoints>& points) {
    for (int i = 0; i < xm::MaxEnvelopePoints; ++i) {
        const std::uint8_t* point = stored + i * xm::EnvelopePointBytes;
        points[i] = EnvelopePoint{readU16LE(point), readU16LE(point + 2)};
    }
}

// Keeps the point count within the 12 stored points, and the loop start where the envelope can
// read from: it jumps to the loop start and reads that point and, unless it is the last used
// one, the next. A loop start past the used points but within the stored ones is kept, and the
// envelope then holds that stored point's value; one from which it would read past the stored
// points goes to the last used point, where it finishes. A sustain point or loop end past the
// points is left as stored; the envelope never reaches it, so it neither holds nor loops there
// but runs to its last point and finishes. An envelope of fewer than two points is off, its
// loop start on the first point.
void fitEnvelope(std::uint8_t& count, std::uint8_t& flags, std::uint8_t& loopStart) {
    count = std::min<std::uint8_t>(count, xm::MaxEnvelopePoints);
    if (count < 2) {
        flags = 0;
        loopStart = 0;
        return;
    }
    const std::uint8_t last = count - 1;
    if (loopStart != last && loopStart + 1 >= xm::MaxEnvelopePoints) {
        loopStart = last;
    }
}

// Keeps the loop inside the sample, so that the guard slot and the mixer's loop end stay
// within the data; a loop that ends up empty is no loop.
void fitLoop(Sample& sample) {
    if (sample.loopMode != NoLoop) {
        sample.loopStart = std::min(sample.loopStart, sample.length);
        sample.loopLength = std::min(sample.loopLength, sample.length - sample.loopStart);
    }
    if (sample.loopMode == NoLoop || sample.loopLength == 0) {
        sample.loopMode = NoLoop;
        sample.loopStart = 0;
        sample.loopLength = sample.length;
    }
}

void readSampleHeader(Sample& sample, Reader& in) {
    std::uint8_t header[xm::SampleHeaderSize];
    in.bytes(header, sizeof header);
    sample.length = readU32LE(header + xm::SampleLengthOffset);
    sample.loopStart = readU32LE(header + xm::SampleLoopStartOffset);
    sample.loopLength = readU32LE(header + xm::SampleLoopLengthOffset);
    sample.volume = header[xm::SampleVolumeOffset];
    sample.finetune = static_cast<std::int8_t>(header[xm::SampleFinetuneOffset]);
    sample.panning = header[xm::SamplePanningOffset];
    sample.relativeNote = static_cast<std::int8_t>(header[xm::SampleRelativeNoteOffset]);
    const std::uint8_t type = header[xm::SampleTypeOffset];

    sample.loopMode = NoLoop;
    sample.bits = 8;
    if (type & xm::ForwardLoopType) {
        sample.loopMode = ForwardLoop;
    }
    if (type & xm::PingPongLoopType) {
        sample.loopMode = PingPongLoop;
    }
    if (type & xm::SixteenBitType) {
        sample.bits = 16;
    }
    if (sample.loopMode == NoLoop) {
        sample.loopStart = 0;
        sample.loopLength = sample.length;
    }
    // From bytes to frames.
    if (sample.bits == 16) {
        sample.length >>= 1;
        sample.loopStart >>= 1;
        sample.loopLength >>= 1;
    }
    if (sample.loopLength == 0) {
        sample.loopStart = 0;
        sample.loopLength = sample.length;
        sample.loopMode = NoLoop;
    }
    fitLoop(sample);
}

bool readSampleData(Sample& sample, Reader& in) {
    if (sample.length == 0) {
        return true;
    }
    const std::uint32_t bytesPerFrame = sample.bits / 8;
    // A length the file cannot hold is a corrupt header: keep the frames that are there rather
    // than reserve what it claims.
    const std::int64_t framesLeft = in.bytesLeft() / bytesPerFrame;
    if (sample.length > framesLeft) {
        in.noteShortRead(static_cast<std::int64_t>(sample.length) * bytesPerFrame);
        sample.length = static_cast<std::uint32_t>(framesLeft);
        fitLoop(sample);
        if (sample.length == 0) {
            return true;
        }
    }
    const std::uint32_t length = sample.length;
    const std::size_t byteCount = static_cast<std::size_t>(length) * bytesPerFrame;
    auto stored = makeArray<std::uint8_t>(byteCount);
    auto data = makeArray<std::int16_t>(static_cast<std::size_t>(length) + SampleTailSlots);
    if (stored == nullptr || data == nullptr) {
        return false;
    }
    in.bytes(stored.get(), static_cast<std::int32_t>(byteCount));

    // Everything is held as 16-bit; an 8-bit value becomes the high byte.
    for (std::uint32_t i = 0; i < length; ++i) {
        const unsigned value = bytesPerFrame == 1 ? stored[i] << 8 : readU16LE(&stored[2 * i]);
        data[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    sample.bits = 16;

    // The stored values are differences; the running sum wraps at 16 bits.
    std::uint16_t sum = 0;
    for (std::uint32_t i = 0; i < length; ++i) {
        sum = static_cast<std::uint16_t>(sum + static_cast<std::uint16_t>(data[i]));
        data[i] = static_cast<std::int16_t>(sum);
    }
    sample.data = std::move(data);
    writeLoopGuard(sample);
    return true;
}

// Refuses an instrument of more samples than it has slots for.
LoadReport readInstrument(Instrument& instrument, std::int32_t index, Reader& in) {
    in.enter(ModulePart::Instrument, index);
    const std::int64_t start = in.tell();
    // Read up to the sample count first: an instrument without samples may end there.
    std::uint8_t header[xm::InstrumentFieldsEnd];
    in.bytes(header, xm::SampleHeaderSizeOffset);
    const std::int64_t headerEnd = start + readU32LE(header + xm::InstrumentHeaderSizeOffset);
    const std::uint16_t sampleCount = readU16LE(header + xm::SampleCountOffset);
    if (sampleCount > xm::MaxSamplesPerInstrument) {
        return {RefusalReason::TooManySamples, index, sampleCount};
    }
    instrument.sampleCount = sampleCount;
    instrument.samples.fill(&EmptySample);
    if (sampleCount == 0) {
        in.seekTo(headerEnd);
        return {};
    }

    // The sample header size is not used: sample headers are always 40 bytes.
    in.bytes(header + xm::SampleHeaderSizeOffset,
             xm::InstrumentFieldsEnd - xm::SampleHeaderSizeOffset);
    std::copy_n(header + xm::SampleMapOffset, xm::NotesPerInstrument, instrument.sampleMap.begin());
    const xm::EnvelopeFields& volume = xm::VolumeEnvelopeFields;
    const xm::EnvelopeFields& panning = xm::PanningEnvelopeFields;
    readEnvelopePoints(header + volume.points, instrument.volumeEnvelope);
    readEnvelopePoints(header + panning.points, instrument.panningEnvelope);
    instrument.volumePointCount = header[volume.pointCount];
    instrument.panningPointCount = header[panning.pointCount];
    instrument.volumeSustainPoint = header[volume.sustainPoint];
    instrument.volumeLoopStart = header[volume.loopStart];
    instrument.volumeLoopEnd = header[volume.loopEnd];
    instrument.panningSustainPoint = header[panning.sustainPoint];
    instrument.panningLoopStart = header[panning.loopStart];
    instrument.panningLoopEnd = header[panning.loopEnd];
    instrument.volumeEnvelopeFlags = header[volume.type];
    instrument.panningEnvelopeFlags = header[panning.type];
    instrument.vibratoType = header[xm::VibratoTypeOffset];
    instrument.vibratoSweep = header[xm::VibratoSweepOffset];
    instrument.vibratoDepth = header[xm::VibratoDepthOffset];
    instrument.vibratoRate = header[xm::VibratoRateOffset];
    // Oddity: the fadeout is stored at twice the file's value, modulo 65536.
    // Kept: tunes made for this player have their releases tuned by ear to this rate.
    // Pinned by: XmLoaderInstruments.TakesTheInstrumentFieldsAndDoublesTheFadeout.
    // Reported as "instrument I: fadeout F fades released notes twice as fast...".
    instrument.fadeout = static_cast<std::uint16_t>(readU16LE(header + xm::FadeoutOffset) * 2);
    if (odditiesWatched() && instrument.fadeout != 0) {
        reportOddity(Oddity::DoubledFadeout, nullptr, readU16LE(header + xm::FadeoutOffset), 0,
                     index);
    }
    fitEnvelope(instrument.volumePointCount, instrument.volumeEnvelopeFlags,
                instrument.volumeLoopStart);
    fitEnvelope(instrument.panningPointCount, instrument.panningEnvelopeFlags,
                instrument.panningLoopStart);
    in.seekTo(headerEnd);

    for (int i = 0; i < sampleCount; ++i) {
        std::unique_ptr<Sample> sample(new (std::nothrow) Sample());
        if (sample == nullptr) {
            return OutOfMemory;
        }
        readSampleHeader(*sample, in);
        instrument.samples[i] = sample.get();
        instrument.ownSamples[i] = std::move(sample);
    }
    in.enter(ModulePart::SampleData, index);
    for (int i = 0; i < sampleCount; ++i) {
        if (!readSampleData(*instrument.ownSamples[i], in)) {
            return OutOfMemory;
        }
    }
    return {};
}

LoadReport readModule(Song& song, Reader& in) {
    std::uint16_t declaredPatterns = 0;
    if (const LoadReport refusal = readHeader(song, in, declaredPatterns); refusal.refused()) {
        return refusal;
    }
    // Every stored pattern takes at least its header. A count the rest of the file cannot hold
    // is a corrupt header: read the patterns that can be there rather than reserve rows for
    // all it claims (up to 65535 x 64 rows).
    const auto storedPatterns = static_cast<std::uint16_t>(
        std::min<std::int64_t>(declaredPatterns, in.bytesLeft() / xm::PatternHeaderBytes));

    song.patternsUsed = 0;
    for (int position = 0; position < song.songLength; ++position) {
        song.patternsUsed = std::max(song.patternsUsed, song.orderTable[position] + 1);
    }
    song.patternSlots = std::max<std::int32_t>(storedPatterns, song.patternsUsed);
    song.patterns = makeArray<Pattern>(static_cast<std::size_t>(song.patternSlots));
    if (song.patterns == nullptr) {
        return OutOfMemory;
    }
    if (const LoadReport refusal = readPatterns(song, in, storedPatterns); refusal.refused()) {
        return refusal;
    }
    if (storedPatterns < declaredPatterns) {
        // The first pattern left out is where the file ends, unless it ended before.
        in.enter(ModulePart::Pattern, storedPatterns);
        in.noteShortRead(xm::PatternHeaderBytes);
    }

    song.instruments = makeArray<Instrument>(static_cast<std::size_t>(song.instrumentCount));
    if (song.instruments == nullptr) {
        return OutOfMemory;
    }
    for (std::int32_t index = 0; index < song.instrumentCount; ++index) {
        const LoadReport refusal = readInstrument(song.instruments[index], index, in);
        if (refusal.refused()) {
            return refusal;
        }
    }
    return {};
}

} // namespace

LoadReport loadXm(Song& song, ModuleStream& stream) {
    Reader in(stream);
    LoadReport report = readModule(song, in);
    report.shortRead = in.shortRead();
    return report;
}

} // namespace omra
