#include "xm/xm_check.h"

#include "player/memory_file.h"
#include "player/player.h"
#include "records/xm_format.h"

namespace omra::tools {

namespace {

// Where the file ends before the module, from the loader's first read past its end.
std::string truncated(const ShortRead& shortRead) {
    const std::string instrument = "instrument " + std::to_string(shortRead.index + 1);
    std::string where;
    switch (shortRead.part) {
    case ModulePart::None:
    case ModulePart::Header:
        where = "the module header";
        break;
    case ModulePart::Pattern:
        where = "pattern " + std::to_string(shortRead.index);
        break;
    case ModulePart::Instrument:
        where = instrument;
        break;
    case ModulePart::SampleData:
        where = "the sample data of " + instrument;
        break;
    }
    return "truncated: it ends inside " + where + " (the module needs at least " +
           std::to_string(shortRead.needed) + " bytes, the file has " +
           std::to_string(shortRead.fileSize) + ")";
}

// What the tools say when the player refuses a module, from the reason the player gives.
std::string refusalMessage(const LoadReport& refusal) {
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
                                           const LoadReport& report) {
    if (bytes.empty()) {
        return "empty file";
    }
    if (report.refused()) {
        return refusalMessage(report);
    }
    if (report.shortRead.happened()) {
        return truncated(report.shortRead);
    }
    return std::nullopt;
}

std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes) {
    LoadReport report;
    freeSong(loadSongFromMemory(bytes, &report));
    return xmModuleProblem(bytes, report);
}

} // namespace omra::tools
