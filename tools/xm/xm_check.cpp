#include "xm/xm_check.h"

#include "player/memory_file.h"
#include "player/player.h"
#include "records/xm_format.h"

#include <algorithm>

namespace omra::tools {

namespace {

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
    if ((first & xm::PackedCell) == 0) {
        return xm::CellFields;
    }
    std::int64_t bytes = 1;
    for (int bit = 0; bit < xm::CellFields; ++bit) {
        bytes += (first >> bit) & 1;
    }
    return bytes;
}

// Where a module the player loads ends before its last byte.
std::optional<std::string> truncation(std::span<const std::uint8_t> bytes) {
    Cursor in(bytes);
    const std::uint32_t headerSize = in.field(xm::HeaderSizeOffset, 4);
    const std::uint32_t channels = in.field(xm::ChannelCountOffset, 2);
    const std::uint32_t storedPatterns = in.field(xm::PatternCountOffset, 2);
    // The player keeps counts in 16-bit signed fields.
    const std::uint32_t instruments =
        std::min<std::uint32_t>(in.field(xm::InstrumentCountOffset, 2), 0x7FFF);
    in.need(xm::ModuleHeaderEnd);
    if (in.pastEnd()) {
        return truncated(in, "the module header");
    }

    std::int64_t at = xm::HeaderSizeOffset + headerSize;
    for (std::uint32_t pattern = 0; pattern < storedPatterns; ++pattern) {
        const std::uint32_t rows = in.field(at + xm::RowCountOffset, 2);
        const std::uint32_t packedSize = in.field(at + xm::PackedSizeOffset, 2);
        at += xm::PatternHeaderBytes;
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
        const std::uint32_t headerBytes = in.field(start + xm::InstrumentHeaderSizeOffset, 4);
        const std::uint32_t samples = in.field(start + xm::SampleCountOffset, 2);
        if (in.pastEnd()) {
            return truncated(in, name);
        }
        in.need(start + (samples == 0 ? xm::EmptyInstrumentHeaderSize : xm::InstrumentFieldsEnd));
        if (in.pastEnd()) {
            return truncated(in, name);
        }
        at = start + headerBytes;
        std::int64_t dataBytes = 0;
        for (std::uint32_t sample = 0; sample < samples; ++sample) {
            const std::uint32_t length = in.field(at + xm::SampleLengthOffset, 4);
            const bool sixteenBit =
                (in.field(at + xm::SampleTypeOffset, 1) & xm::SixteenBitType) != 0;
            // An odd byte length of 16-bit data leaves its last byte unread.
            dataBytes += sixteenBit ? length & ~1u : length;
            at += xm::SampleHeaderSize;
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

// What the tools say when the player refuses a module, from the reason the player gives.
std::string refusalMessage(const LoadRefusal& refusal) {
    const std::string declared = std::to_string(refusal.declared);
    switch (refusal.reason) {
    case RefusalReason::None:
        break;
    case RefusalReason::NoStream:
        return "the player could not open it";
    case RefusalReason::NotXm:
        return std::string("not an XM module (it must begin with \"") + xm::IdText + "\")";
    case RefusalReason::TooManyChannels:
        return declared + " channels; the player plays at most " + std::to_string(xm::MaxChannels);
    case RefusalReason::TooManyRows:
        return "pattern " + std::to_string(refusal.index) + " has " + declared +
               " rows; the player takes at most " + std::to_string(xm::MaxPatternRows);
    case RefusalReason::TooManySamples:
        return "instrument " + std::to_string(refusal.index + 1) + " has " + declared +
               " samples; the player takes at most " + std::to_string(xm::MaxSamplesPerInstrument);
    case RefusalReason::OutOfMemory:
        return "the player could not load it (out of memory)";
    }
    return "the player loads it";
}

} // namespace

std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes,
                                           const LoadRefusal& refusal) {
    if (bytes.empty()) {
        return "empty file";
    }
    if (refusal.refused()) {
        return refusalMessage(refusal);
    }
    return truncation(bytes);
}

std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes) {
    LoadRefusal refusal;
    freeSong(loadSongFromMemory(bytes, &refusal));
    return xmModuleProblem(bytes, refusal);
}

} // namespace omra::tools
