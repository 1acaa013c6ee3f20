#include "player/xm_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace omra {

namespace {

constexpr char IdText[] = "Extended Module: ";
constexpr std::int32_t IdLength = 17;
constexpr std::int32_t HeaderSizeOffset = 60;
constexpr std::int32_t PatternHeaderBytes = 9;
// The most rows a pattern of the format holds. More is a corrupt header: a pattern stored
// without cells takes 9 bytes of the file whatever its rows, and 65535 rows of 32 channels are
// 10 MB of cells.
constexpr std::uint16_t MaxPatternRows = 256;
constexpr std::int32_t InstrumentNameAndTypeBytes = 23;
constexpr std::int32_t SampleHeaderTailBytes = 23; // reserved byte and name
constexpr std::uint8_t KeyOffNote = 97;
constexpr std::uint8_t StoredKeyOff = 255;
constexpr std::uint8_t HighestInstrumentNumber = 128;
constexpr std::uint8_t PackedCellMask = 0x80;
constexpr std::uint8_t ForwardLoopBit = 0x01;
constexpr std::uint8_t PingPongLoopBit = 0x02;
constexpr std::uint8_t SixteenBitBit = 0x10;
constexpr std::uint8_t InitialGlobalVolume = 64;
constexpr std::uint16_t Int16Max = std::numeric_limits<std::int16_t>::max();

std::uint16_t le16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t le32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(le16(bytes)) |
           (static_cast<std::uint32_t>(le16(bytes + 2)) << 16);
}

// Counts the song holds in 16-bit signed fields; larger stored values would turn negative.
std::int16_t asCount(std::uint16_t stored) {
    return static_cast<std::int16_t>(std::min(stored, Int16Max));
}

// Zero-filled arrays that report running out of memory as none instead of throwing.
template <typename T>
std::unique_ptr<T[]> makeArray(std::size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// Reads the module's little-endian fields. The read results are not examined: bytes the file
// no longer holds read as zero, so a truncated module still loads.
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
        std::memset(destination, 0, static_cast<std::size_t>(count));
        stream_.read(destination, count);
    }
    std::uint8_t u8() {
        std::uint8_t value[1];
        bytes(value, 1);
        return value[0];
    }
    std::uint16_t u16() {
        std::uint8_t value[2];
        bytes(value, 2);
        return le16(value);
    }
    std::uint32_t u32() {
        std::uint8_t value[4];
        bytes(value, 4);
        return le32(value);
    }

    void skip(std::int32_t count) { stream_.seek(count, SeekFromCurrent); }
    // Header sizes are unsigned 32-bit; a position past what an offset can express is past the
    // end of the file anyway.
    void seekTo(std::int64_t position) {
        const std::int64_t largest = std::numeric_limits<std::int32_t>::max();
        stream_.seek(static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, largest)),
                     SeekFromStart);
    }
    std::int32_t tell() { return stream_.tell(); }
    std::int64_t bytesLeft() { return std::max<std::int64_t>(0, size_ - stream_.tell()); }

private:
    ModuleStream& stream_;
    std::int32_t size_ = 0;
};

// Header fields: identification, counts, order table. Fails on a wrong identification text or
// more channels than the channel table holds.
bool readHeader(Song& song, Reader& in, std::uint16_t& storedPatterns) {
    std::uint8_t id[IdLength];
    in.seekTo(0);
    in.bytes(id, IdLength);
    if (std::memcmp(id, IdText, IdLength) != 0) {
        return false;
    }
    song.initialGlobalVolume = InitialGlobalVolume;

    in.seekTo(HeaderSizeOffset);
    const std::uint32_t headerSize = in.u32();
    std::uint8_t counts[6];
    in.bytes(counts, sizeof counts);
    storedPatterns = in.u16();
    std::uint8_t rest[8 + OrderTableSize];
    in.bytes(rest, sizeof rest);

    const std::uint16_t channels = le16(counts + 4);
    if (channels > MaxChannels) {
        return false;
    }
    song.channelCount = static_cast<std::int16_t>(channels);
    // The order table has 256 entries; a longer song would play past it.
    song.songLength = static_cast<std::int16_t>(std::min<int>(le16(counts), OrderTableSize));
    const std::uint16_t restart = le16(counts + 2);
    song.restartPosition = restart < song.songLength ? static_cast<std::int16_t>(restart) : 0;
    song.instrumentCount = asCount(le16(rest));
    song.flags = le16(rest + 2);
    song.defaultSpeed = asCount(le16(rest + 4));
    // The tempo rule divides by the BPM.
    song.defaultBpm = std::max<std::int16_t>(1, asCount(le16(rest + 6)));
    std::copy_n(rest + 8, OrderTableSize, song.orderTable.begin());

    in.seekTo(HeaderSizeOffset + static_cast<std::int64_t>(headerSize));
    return true;
}

PatternCell readCell(Reader& in) {
    PatternCell cell{};
    const std::uint8_t first = in.u8();
    if (first & PackedCellMask) {
        std::uint8_t* fields[] = {&cell.note, &cell.instrument, &cell.volumeColumn, &cell.effect,
                                  &cell.effectParam};
        for (int bit = 0; bit < 5; ++bit) {
            if (first & (1 << bit)) {
                *fields[bit] = in.u8();
            }
        }
    } else {
        cell.note = first;
        std::uint8_t rest[4];
        in.bytes(rest, sizeof rest);
        cell.instrument = rest[0];
        cell.volumeColumn = rest[1];
        cell.effect = rest[2];
        cell.effectParam = rest[3];
    }
    if (cell.note == KeyOffNote) {
        cell.note = StoredKeyOff;
    }
    if (cell.instrument > HighestInstrumentNumber) {
        cell.instrument = 0;
    }
    return cell;
}

bool makeEmptyPattern(Pattern& pattern, std::int32_t channels) {
    pattern.rows = EmptyPatternRows;
    pattern.cells = makeArray<PatternCell>(static_cast<std::size_t>(EmptyPatternRows) * channels);
    return pattern.cells != nullptr;
}

bool readPatterns(Song& song, Reader& in, std::uint16_t storedPatterns) {
    const std::int32_t channels = song.channelCount;
    for (std::int32_t index = 0; index < storedPatterns; ++index) {
        Pattern& pattern = song.patterns[index];
        in.u32(); // header length: the header is always 9 bytes
        in.u8();  // packing type
        const std::uint16_t rows = in.u16();
        const std::uint16_t packedSize = in.u16();
        if (rows > MaxPatternRows) {
            return false;
        }
        // The sequencer needs at least one row; such a pattern plays like a missing one.
        if (rows == 0) {
            if (!makeEmptyPattern(pattern, channels)) {
                return false;
            }
            continue;
        }
        const std::size_t cellCount = static_cast<std::size_t>(rows) * channels;
        pattern.rows = rows;
        pattern.cells = makeArray<PatternCell>(cellCount);
        if (pattern.cells == nullptr) {
            return false;
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
            return false;
        }
    }
    return true;
}

void readEnvelope(Reader& in, std::array<EnvelopePoint, MaxEnvelopePoints>& points) {
    std::uint8_t stored[MaxEnvelopePoints * 4];
    in.bytes(stored, sizeof stored);
    for (int i = 0; i < MaxEnvelopePoints; ++i) {
        points[i] = EnvelopePoint{le16(stored + 4 * i), le16(stored + 4 * i + 2)};
    }
}

// Keeps the point count within the 12 stored points and the loop start on a used point: the
// envelope jumps to the loop start and reads its point and the next. A sustain point or loop end
// past the points is left as stored; the envelope never reaches it, so it neither holds nor
// loops there but runs to its last point and finishes.
void fitEnvelope(std::uint8_t& count, std::uint8_t& flags, std::uint8_t& loopStart) {
    count = std::min<std::uint8_t>(count, MaxEnvelopePoints);
    if (count < 2) {
        flags = 0;
    }
    const std::uint8_t last = count > 0 ? count - 1 : 0;
    loopStart = std::min(loopStart, last);
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
    std::uint8_t stored[14];
    in.bytes(stored, sizeof stored);
    sample.length = le32(stored);
    sample.loopStart = le32(stored + 4);
    sample.loopLength = le32(stored + 8);
    sample.volume = stored[12];
    sample.finetune = static_cast<std::int8_t>(stored[13]);
    const std::uint8_t type = in.u8();

    sample.loopMode = NoLoop;
    sample.bits = 8;
    if (type & ForwardLoopBit) {
        sample.loopMode = ForwardLoop;
    }
    if (type & PingPongLoopBit) {
        sample.loopMode = PingPongLoop;
    }
    if (type & SixteenBitBit) {
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

    sample.panning = in.u8();
    sample.relativeNote = static_cast<std::int8_t>(in.u8());
    in.skip(SampleHeaderTailBytes);
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
        const unsigned value =
            bytesPerFrame == 1 ? stored[i] << 8 : stored[2 * i] | (stored[2 * i + 1] << 8);
        data[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    sample.bits = 16;

    // The stored values are differences; the running sum wraps at 16 bits.
    std::uint16_t sum = 0;
    for (std::uint32_t i = 0; i < length; ++i) {
        sum = static_cast<std::uint16_t>(sum + static_cast<std::uint16_t>(data[i]));
        data[i] = static_cast<std::int16_t>(sum);
    }

    // The slot behind the loop end holds what interpolation should reach at the loop end: the
    // frame before it for ping-pong, the loop's first frame for a forward loop.
    const std::uint32_t loopEnd = sample.loopStart + sample.loopLength;
    if (sample.loopMode == PingPongLoop) {
        data[loopEnd] = data[loopEnd - 1];
    } else if (sample.loopMode == ForwardLoop) {
        data[loopEnd] = data[sample.loopStart];
    }
    sample.data = std::move(data);
    return true;
}

bool readInstrument(Instrument& instrument, Reader& in) {
    const std::int64_t start = in.tell();
    const std::int64_t headerEnd = start + in.u32();
    in.skip(InstrumentNameAndTypeBytes);
    const std::uint16_t sampleCount = in.u16();
    if (sampleCount > MaxSamplesPerInstrument) {
        return false;
    }
    instrument.sampleCount = sampleCount;
    instrument.samples.fill(&EmptySample);
    if (sampleCount == 0) {
        in.seekTo(headerEnd);
        return true;
    }

    in.u32(); // sample header size: sample headers are always 40 bytes
    in.bytes(instrument.sampleMap.data(), NotesPerInstrument);
    readEnvelope(in, instrument.volumeEnvelope);
    readEnvelope(in, instrument.panningEnvelope);
    std::uint8_t fields[16];
    in.bytes(fields, sizeof fields);
    instrument.volumePointCount = fields[0];
    instrument.panningPointCount = fields[1];
    instrument.volumeSustainPoint = fields[2];
    instrument.volumeLoopStart = fields[3];
    instrument.volumeLoopEnd = fields[4];
    instrument.panningSustainPoint = fields[5];
    instrument.panningLoopStart = fields[6];
    instrument.panningLoopEnd = fields[7];
    instrument.volumeEnvelopeFlags = fields[8];
    instrument.panningEnvelopeFlags = fields[9];
    instrument.vibratoType = fields[10];
    instrument.vibratoSweep = fields[11];
    instrument.vibratoDepth = fields[12];
    instrument.vibratoRate = fields[13];
    instrument.fadeout = static_cast<std::uint16_t>(le16(fields + 14) * 2);
    fitEnvelope(instrument.volumePointCount, instrument.volumeEnvelopeFlags,
                instrument.volumeLoopStart);
    fitEnvelope(instrument.panningPointCount, instrument.panningEnvelopeFlags,
                instrument.panningLoopStart);
    in.seekTo(headerEnd);

    for (int i = 0; i < sampleCount; ++i) {
        std::unique_ptr<Sample> sample(new (std::nothrow) Sample());
        if (sample == nullptr) {
            return false;
        }
        readSampleHeader(*sample, in);
        instrument.samples[i] = sample.get();
        instrument.ownSamples[i] = std::move(sample);
    }
    for (int i = 0; i < sampleCount; ++i) {
        if (!readSampleData(*instrument.ownSamples[i], in)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool loadXm(Song& song, ModuleStream& stream) {
    Reader in(stream);
    std::uint16_t storedPatterns = 0;
    if (!readHeader(song, in, storedPatterns)) {
        return false;
    }
    // Every stored pattern takes at least its header. A count the rest of the file cannot hold
    // is a corrupt header: read the patterns that can be there rather than reserve rows for
    // all it claims (up to 65535 x 64 rows).
    storedPatterns = static_cast<std::uint16_t>(
        std::min<std::int64_t>(storedPatterns, in.bytesLeft() / PatternHeaderBytes));

    song.patternsUsed = 0;
    for (int position = 0; position < song.songLength; ++position) {
        song.patternsUsed = std::max(song.patternsUsed, song.orderTable[position] + 1);
    }
    song.patternSlots = std::max<std::int32_t>(storedPatterns, song.patternsUsed);
    song.patterns = makeArray<Pattern>(static_cast<std::size_t>(song.patternSlots));
    if (song.patterns == nullptr || !readPatterns(song, in, storedPatterns)) {
        return false;
    }

    song.instruments = makeArray<Instrument>(static_cast<std::size_t>(song.instrumentCount));
    if (song.instruments == nullptr) {
        return false;
    }
    for (int index = 0; index < song.instrumentCount; ++index) {
        if (!readInstrument(song.instruments[index], in)) {
            return false;
        }
    }
    return true;
}

} // namespace omra
