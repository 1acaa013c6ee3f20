#include "xm/xm_check.h"

#include <algorithm>
#include <cstring>

namespace omra::tools {

namespace {

constexpr char IdText[] = "Extended Module: ";
constexpr std::size_t IdLength = 17;
constexpr std::int64_t HeaderSizeOffset = 60;
constexpr std::int64_t HeaderFieldsEnd = 80 + 256; // counts, flags, tempo and the order table
constexpr std::int64_t PatternHeaderBytes = 9;
constexpr std::int64_t InstrumentSampleCountEnd = 29;
constexpr std::int64_t InstrumentFieldsEnd = 241; // sample map, envelopes, vibrato, fadeout
constexpr std::int64_t SampleHeaderBytes = 40;
constexpr unsigned MaxChannels = 32;
constexpr unsigned MaxSamples = 16;
constexpr unsigned MaxPatternRows = 256;
constexpr std::uint8_t PackedCellMask = 0x80;
constexpr std::uint8_t SixteenBitBit = 0x10;

// Reads little-endian fields; past the end of the file it notes the shortfall and reads zeros,
// as the player does.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t field(std::int64_t at, int size) {
        need(at + size);
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | byteAt(at + i);
        }
        return value;
    }
    std::uint8_t byteAt(std::int64_t at) const {
        return at < size() ? bytes_[static_cast<std::size_t>(at)] : 0;
    }
    void need(std::int64_t end) { needed_ = std::max(needed_, end); }
    bool pastEnd() const { return needed_ > size(); }
    std::int64_t needed() const { return needed_; }
    std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }

private:
    std::span<const std::uint8_t> bytes_;
    std::int64_t needed_ = 0;
};

std::string truncated(const Cursor& in, const std::string& where) {
    return "truncated: it ends inside " + where + " (the module needs at least " +
           std::to_string(in.needed()) + " bytes, the file has " + std::to_string(in.size()) + ")";
}

// The bytes one packed cell takes.
std::int64_t cellBytes(std::uint8_t first) {
    if ((first & PackedCellMask) == 0) {
        return 5;
    }
    std::int64_t bytes = 1;
    for (int bit = 0; bit < 5; ++bit) {
        bytes += (first >> bit) & 1;
    }
    return bytes;
}

} // namespace

std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return "empty file";
    }
    if (bytes.size() < IdLength || std::memcmp(bytes.data(), IdText, IdLength) != 0) {
        return "not an XM module (it must begin with \"Extended Module: \")";
    }
    Cursor in(bytes);
    const std::uint32_t headerSize = in.field(HeaderSizeOffset, 4);
    const std::uint32_t channels = in.field(68, 2);
    const std::uint32_t storedPatterns = in.field(70, 2);
    // The player keeps counts in 16-bit signed fields.
    const std::uint32_t instruments = std::min<std::uint32_t>(in.field(72, 2), 0x7FFF);
    in.need(HeaderFieldsEnd);
    if (in.pastEnd()) {
        return truncated(in, "the module header");
    }
    if (channels > MaxChannels) {
        return std::to_string(channels) + " channels; the player plays at most " +
               std::to_string(MaxChannels);
    }

    std::int64_t at = HeaderSizeOffset + headerSize;
    for (std::uint32_t pattern = 0; pattern < storedPatterns; ++pattern) {
        const std::uint32_t rows = in.field(at + 5, 2);
        const std::uint32_t packedSize = in.field(at + 7, 2);
        at += PatternHeaderBytes;
        if (!in.pastEnd() && rows > MaxPatternRows) {
            return "pattern " + std::to_string(pattern) + " has " + std::to_string(rows) +
                   " rows; the player takes at most " + std::to_string(MaxPatternRows);
        }
        if (rows != 0 && packedSize != 0) {
            // Each cell takes at least a byte, so this stops at the end of the file.
            const std::uint32_t cells = rows * channels;
            std::uint32_t cell = 0;
            for (; cell < cells && at < in.size(); ++cell) {
                at += cellBytes(in.byteAt(at));
            }
            in.need(cell < cells ? at + 1 : at);
        }
        in.need(at);
        if (in.pastEnd()) {
            return truncated(in, "pattern " + std::to_string(pattern));
        }
    }

    for (std::uint32_t instrument = 0; instrument < instruments; ++instrument) {
        const std::string name = "instrument " + std::to_string(instrument + 1);
        const std::int64_t start = at;
        const std::uint32_t headerBytes = in.field(start, 4);
        const std::uint32_t samples = in.field(start + 27, 2);
        if (in.pastEnd()) {
            return truncated(in, name);
        }
        if (samples > MaxSamples) {
            return name + " has " + std::to_string(samples) +
                   " samples; the player takes at most " + std::to_string(MaxSamples);
        }
        in.need(start + (samples == 0 ? InstrumentSampleCountEnd : InstrumentFieldsEnd));
        if (in.pastEnd()) {
            return truncated(in, name);
        }
        at = start + headerBytes;
        std::int64_t dataBytes = 0;
        for (std::uint32_t sample = 0; sample < samples; ++sample) {
            const std::uint32_t length = in.field(at, 4);
            const bool sixteenBit = (in.field(at + 14, 1) & SixteenBitBit) != 0;
            // An odd byte length of 16-bit data leaves its last byte unread.
            dataBytes += sixteenBit ? length & ~1u : length;
            at += SampleHeaderBytes;
        }
        in.need(at);
        if (in.pastEnd()) {
            return truncated(in, name);
        }
        at += dataBytes;
        in.need(at);
        if (in.pastEnd()) {
            return truncated(in, "the sample data of " + name);
        }
    }
    return std::nullopt;
}

} // namespace omra::tools
