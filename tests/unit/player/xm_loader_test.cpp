#include "core/little_endian.h"
#include "player/memory_file.h"
#include "player/module_stream.h"
#include "player/xm_loader.h"
#include "records/channel.h"
#include "records/file_callbacks.h"
#include "records/song.h"
#include "sequencer/envelope.h"
#include "tune/omra_tune.h"
#include "xm/xm_writer.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>
#include <vector>

namespace omra {
namespace {

using tools::XmCell;
using tools::XmInstrument;
using tools::XmModule;
using tools::XmPattern;
using tools::XmSample;

// Where the writer's modules have their first pattern: right after the module header.
constexpr std::size_t FirstPatternOffset = xm::ModuleHeaderEnd;

const FileCallbacks MemoryFileCallbacks{memoryFileOpen, memoryFileClose, memoryFileRead,
                                        memoryFileSeek, memoryFileTell};

struct Loaded {
    bool ok = false;
    LoadReport refusal;
    std::unique_ptr<Song> song = std::make_unique<Song>();
    std::int32_t endPosition = -1; // stream position when the loader returned
};

// Loads the bytes the way the player does: a memory file behind the stream callbacks.
Loaded load(const std::vector<std::uint8_t>& bytes) {
    setMemoryFileBytes(bytes);
    Loaded result;
    ModuleStream stream(MemoryFileCallbacks, memoryFileOpen(bytes.data()));
    result.refusal = loadXm(*result.song, stream);
    result.ok = !result.refusal.refused();
    result.endPosition = stream.tell();
    return result;
}

Loaded loadModule(const XmModule& module) {
    return load(tools::writeXm(module));
}

// Why a load was refused: the reason, the pattern or instrument, and the count it declares.
using Why = std::tuple<RefusalReason, std::int32_t, std::uint32_t>;
Why why(const Loaded& loaded) {
    return {loaded.refusal.reason, loaded.refusal.index, loaded.refusal.declared};
}

void putU16(std::vector<std::uint8_t>& bytes, std::size_t offset, unsigned value) {
    putU16LE(&bytes.at(offset + 1) - 1, static_cast<std::uint16_t>(value));
}

// Two channels, one order entry and one empty 4-row pattern.
XmModule smallModule() {
    XmModule module;
    module.channels = 2;
    module.orders = {0};
    module.patterns = {tools::emptyPattern(4, 2)};
    return module;
}

// A pattern of `rows` rows stored without cell data.
XmPattern patternWithoutData(std::uint16_t rows) {
    XmPattern pattern;
    pattern.rows = rows;
    return pattern;
}

tools::XmEnvelope envelopeOf(std::vector<tools::XmEnvelopePoint> points, std::uint8_t flags,
                             std::uint8_t sustainPoint = 0, std::uint8_t loopStart = 0,
                             std::uint8_t loopEnd = 0) {
    tools::XmEnvelope envelope;
    envelope.points = std::move(points);
    envelope.flags = flags;
    envelope.sustainPoint = sustainPoint;
    envelope.loopStart = loopStart;
    envelope.loopEnd = loopEnd;
    return envelope;
}

XmSample sampleOf(std::vector<std::int16_t> frames, bool sixteenBit = false) {
    XmSample sample;
    sample.frames = std::move(frames);
    sample.sixteenBit = sixteenBit;
    return sample;
}

XmSample loopedSample(std::vector<std::int16_t> frames, std::uint8_t loopType,
                      std::uint32_t loopStart, std::uint32_t loopLength, bool sixteenBit = false) {
    XmSample sample = sampleOf(std::move(frames), sixteenBit);
    sample.loopType = loopType;
    sample.loopStart = loopStart;
    sample.loopLength = loopLength;
    return sample;
}

XmInstrument instrumentWith(std::vector<XmSample> samples) {
    XmInstrument instrument;
    instrument.samples = std::move(samples);
    return instrument;
}

// The one sample of a small module whose only instrument holds it.
XmModule moduleWithSample(const XmSample& sample) {
    XmModule module = smallModule();
    module.instruments = {instrumentWith({sample})};
    return module;
}

// The bytes of the small module with `instruments`.
std::vector<std::uint8_t> withInstruments(std::vector<XmInstrument> instruments) {
    XmModule module = smallModule();
    module.instruments = std::move(instruments);
    return tools::writeXm(module);
}

const Sample& onlySample(const Loaded& loaded) {
    return *loaded.song->instruments[0].samples[0];
}

std::vector<std::int16_t> framesOf(const Sample& sample) {
    if (sample.data == nullptr) {
        return {};
    }
    return {sample.data.get(), sample.data.get() + sample.length};
}

std::vector<std::int16_t> widened(const std::vector<std::int16_t>& eightBit) {
    std::vector<std::int16_t> result;
    for (const std::int16_t value : eightBit) {
        result.push_back(static_cast<std::int16_t>(value * 256));
    }
    return result;
}

// Checks what every loaded sample promises the mixer and the sequencer.
void expectSampleInvariants(const Sample& sample) {
    EXPECT_TRUE(sample.loopMode == NoLoop || sample.loopMode == ForwardLoop ||
                sample.loopMode == PingPongLoop);
    EXPECT_LE(static_cast<std::uint64_t>(sample.loopStart) + sample.loopLength, sample.length);
    if (sample.loopMode == NoLoop) {
        EXPECT_EQ(sample.loopStart, 0u);
        EXPECT_EQ(sample.loopLength, sample.length);
    }
    EXPECT_EQ(sample.loopLength == 0, sample.length == 0);
    EXPECT_EQ(sample.data == nullptr, sample.length == 0);
    if (sample.data != nullptr) {
        const std::uint32_t guard = sample.loopStart + sample.loopLength;
        for (std::uint32_t slot = sample.length; slot < sample.length + SampleTailSlots; ++slot) {
            if (slot != guard || sample.loopMode == NoLoop) {
                EXPECT_EQ(sample.data[slot], 0) << "tail slot " << slot;
            }
        }
    }
}

void expectSongInvariants(const Song& song) {
    EXPECT_LE(song.songLength, xm::OrderTableSize);
    EXPECT_TRUE(song.songLength == 0 || song.restartPosition < song.songLength);
    EXPECT_LE(song.channelCount, xm::MaxChannels);
    EXPECT_GE(song.defaultBpm, 1);
    for (std::int32_t index = 0; index < song.patternsUsed; ++index) {
        EXPECT_GE(song.patterns[index].rows, 1) << "pattern " << index;
        EXPECT_NE(song.patterns[index].cells, nullptr) << "pattern " << index;
    }
    for (int index = 0; index < song.instrumentCount; ++index) {
        const Instrument& instrument = song.instruments[index];
        EXPECT_LE(instrument.volumePointCount, xm::MaxEnvelopePoints);
        EXPECT_LE(instrument.panningPointCount, xm::MaxEnvelopePoints);
        for (int slot = 0; slot < xm::MaxSamplesPerInstrument; ++slot) {
            ASSERT_NE(instrument.samples[slot], nullptr);
            if (slot < instrument.sampleCount) {
                EXPECT_EQ(instrument.samples[slot], instrument.ownSamples[slot].get());
                expectSampleInvariants(*instrument.samples[slot]);
            } else {
                EXPECT_EQ(instrument.samples[slot], &EmptySample);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Module header

TEST(XmLoaderHeader, TakesTheSongFactsFromTheHeader) {
    XmModule module;
    module.channels = 6;
    module.restartPosition = 2;
    module.speed = 5;
    module.bpm = 115;
    module.orders = {0, 1, 1, 0, 1};
    module.patterns = {tools::emptyPattern(64, 6), tools::emptyPattern(32, 6)};
    module.instruments = {instrumentWith({sampleOf({1, 2, 3})}), XmInstrument{}, XmInstrument{}};
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);

    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    const Song& song = *loaded.song;
    EXPECT_EQ(song.songLength, 5);
    EXPECT_EQ(song.restartPosition, 2);
    EXPECT_EQ(song.channelCount, 6);
    EXPECT_EQ(song.instrumentCount, 3);
    EXPECT_EQ(song.flags, xm::LinearFrequencyTable);
    EXPECT_EQ(song.defaultSpeed, 5);
    EXPECT_EQ(song.defaultBpm, 115);
    EXPECT_EQ(song.initialGlobalVolume, 64);
    for (std::size_t i = 0; i < xm::OrderTableSize; ++i) {
        EXPECT_EQ(song.orderTable[i], i < module.orders.size() ? module.orders[i] : 0);
    }
    EXPECT_EQ(song.patternsUsed, 2);
    EXPECT_EQ(song.patternSlots, 2);
    EXPECT_EQ(song.patterns[0].rows, 64);
    EXPECT_EQ(song.patterns[1].rows, 32);
    // Every byte of a well-formed module is read, and nothing beyond.
    EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(bytes.size()));
    expectSongInvariants(song);
}

TEST(XmLoaderHeader, ClearsTheLinearFlagForAmigaPeriods) {
    XmModule module = smallModule();
    module.linearFrequencies = false;
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->flags, 0);
}

TEST(XmLoaderHeader, FindsTheFirstPatternThroughTheHeaderSize) {
    XmModule module = smallModule();
    module.headerPadding = 21;
    module.patterns[0].at(1, 1, 2) = XmCell{.note = 49, .instrument = 3};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    const PatternCell cell = loaded.song->patterns[0].cells[1 * 2 + 1];
    EXPECT_EQ(cell.note, 49);
    EXPECT_EQ(cell.instrument, 3);
}

TEST(XmLoaderHeader, CountsPatternsUsedOnlyOverThePlayedOrderEntries) {
    XmModule module = smallModule();
    module.orders = {0, 2};
    module.patterns = {tools::emptyPattern(4, 2), tools::emptyPattern(4, 2),
                       tools::emptyPattern(4, 2)};
    std::vector<std::uint8_t> bytes = tools::writeXm(module);
    bytes.at(xm::OrderTableOffset + 2) = 200; // beyond the song length: never played
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->patternsUsed, 3);
    EXPECT_EQ(loaded.song->patternSlots, 3);
    EXPECT_EQ(loaded.song->orderTable[2], 200);
}

TEST(XmLoaderHeader, AnEmptySongUsesNoPatternsButKeepsTheStoredOnes) {
    XmModule module = smallModule();
    module.orders = {};
    module.patterns = {tools::emptyPattern(4, 2), tools::emptyPattern(8, 2)};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->songLength, 0);
    EXPECT_EQ(loaded.song->patternsUsed, 0);
    EXPECT_EQ(loaded.song->patternSlots, 2);
    EXPECT_EQ(loaded.song->patterns[1].rows, 8);
}

// ---------------------------------------------------------------------------------------------
// Patterns

TEST(XmLoaderPatterns, DecodesPackedCellsWithAbsentFieldsAsZero) {
    XmModule module = smallModule();
    XmPattern& pattern = module.patterns[0];
    pattern.at(0, 0, 2) = XmCell{.note = 25};
    pattern.at(0, 1, 2) = XmCell{.instrument = 7};
    pattern.at(1, 0, 2) = XmCell{.volume = 0x40};
    pattern.at(1, 1, 2) = XmCell{.effect = 0x0F, .parameter = 0x06};
    pattern.at(2, 0, 2) = XmCell{.parameter = 0x33};
    pattern.at(3, 1, 2) = XmCell{.note = 60, .instrument = 2, .volume = 0x30, .effect = 0x0A};
    // Every field present: the writer stores this one unpacked.
    pattern.at(3, 0, 2) =
        XmCell{.note = 1, .instrument = 1, .volume = 1, .effect = 1, .parameter = 1};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    ASSERT_EQ(loaded.song->patterns[0].rows, 4);
    for (int row = 0; row < 4; ++row) {
        for (int channel = 0; channel < 2; ++channel) {
            const XmCell& written = pattern.at(row, channel, 2);
            const PatternCell& cell = loaded.song->patterns[0].cells[row * 2 + channel];
            SCOPED_TRACE(::testing::Message() << "row " << row << " channel " << channel);
            EXPECT_EQ(cell.note, written.note);
            EXPECT_EQ(cell.instrument, written.instrument);
            EXPECT_EQ(cell.volumeColumn, written.volume);
            EXPECT_EQ(cell.effect, written.effect);
            EXPECT_EQ(cell.effectParam, written.parameter);
        }
    }
}

TEST(XmLoaderPatterns, AnUnpackedCellWithoutANoteStillTakesFourMoreBytes) {
    XmModule module = smallModule();
    module.orders = {0, 1};
    module.patterns[0].unpacked = true;
    module.patterns[0].at(0, 0, 2) =
        XmCell{.instrument = 3, .volume = 0x20, .effect = 0x0C, .parameter = 0x10};
    module.patterns.push_back(tools::emptyPattern(2, 2));
    module.patterns[1].at(1, 1, 2) = XmCell{.note = 12, .effect = 0x0E, .parameter = 0xC4};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    const PatternCell first = loaded.song->patterns[0].cells[0];
    EXPECT_EQ(first.note, 0);
    EXPECT_EQ(first.instrument, 3);
    EXPECT_EQ(first.volumeColumn, 0x20);
    EXPECT_EQ(first.effect, 0x0C);
    EXPECT_EQ(first.effectParam, 0x10);
    ASSERT_EQ(loaded.song->patterns[1].rows, 2);
    const PatternCell later = loaded.song->patterns[1].cells[3];
    EXPECT_EQ(later.note, 12);
    EXPECT_EQ(later.effect, 0x0E);
    EXPECT_EQ(later.effectParam, 0xC4);
}

TEST(XmLoaderPatterns, StoresKeyOffAs255AndDropsInstrumentNumbersAbove128) {
    XmModule module = smallModule();
    XmPattern& pattern = module.patterns[0];
    pattern.at(0, 0, 2) = XmCell{.note = 97};
    pattern.at(0, 1, 2) = XmCell{.note = 96, .instrument = 128};
    pattern.at(1, 0, 2) = XmCell{.note = 5, .instrument = 129};
    pattern.at(1, 1, 2) = XmCell{.instrument = 255};
    // Unpacked as well: the conversions apply to both kinds of cell.
    pattern.at(2, 0, 2) =
        XmCell{.note = 97, .instrument = 200, .volume = 1, .effect = 1, .parameter = 1};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    const PatternCell* cells = loaded.song->patterns[0].cells.get();
    EXPECT_EQ(cells[0].note, 255);
    EXPECT_EQ(cells[1].note, 96);
    EXPECT_EQ(cells[1].instrument, 128);
    EXPECT_EQ(cells[2].note, 5);
    EXPECT_EQ(cells[2].instrument, 0);
    EXPECT_EQ(cells[3].instrument, 0);
    EXPECT_EQ(cells[4].note, 255);
    EXPECT_EQ(cells[4].instrument, 0);
    EXPECT_EQ(cells[4].volumeColumn, 1);
}

TEST(XmLoaderPatterns, IgnoresMaskBitsFiveAndSix) {
    XmModule module = smallModule();
    module.patterns[0] = tools::emptyPattern(1, 2);
    module.patterns[0].at(0, 0, 2) = XmCell{.note = 30};
    module.patterns[0].at(0, 1, 2) = XmCell{.note = 31};
    std::vector<std::uint8_t> bytes = tools::writeXm(module);
    const std::size_t firstCell = FirstPatternOffset + xm::PatternHeaderBytes;
    ASSERT_EQ(bytes.at(firstCell), 0x81);
    bytes.at(firstCell) = 0xE1;
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->patterns[0].cells[0].note, 30);
    EXPECT_EQ(loaded.song->patterns[0].cells[0].instrument, 0);
    EXPECT_EQ(loaded.song->patterns[0].cells[1].note, 31);
}

TEST(XmLoaderPatterns, APatternWithoutDataIsRowsOfEmptyCellsAndTakesNoBytes) {
    XmModule module = smallModule();
    module.orders = {0, 1};
    module.patterns = {patternWithoutData(48), tools::emptyPattern(2, 2)};
    module.patterns[1].at(0, 0, 2) = XmCell{.note = 40, .instrument = 1};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    const Pattern& empty = loaded.song->patterns[0];
    ASSERT_EQ(empty.rows, 48);
    for (int cell = 0; cell < 48 * 2; ++cell) {
        EXPECT_EQ(empty.cells[cell].note, 0);
        EXPECT_EQ(empty.cells[cell].instrument, 0);
        EXPECT_EQ(empty.cells[cell].effect, 0);
    }
    EXPECT_EQ(loaded.song->patterns[1].cells[0].note, 40);
    EXPECT_EQ(loaded.song->patterns[1].cells[0].instrument, 1);
}

TEST(XmLoaderPatterns, FindsTheNextPatternWhereTheCellsEndNotByTheSizeFields) {
    XmModule module = smallModule();
    module.orders = {0, 1};
    module.patterns[0].at(2, 1, 2) = XmCell{.note = 50, .effect = 3, .parameter = 0x20};
    module.patterns[0].declaredPackedSize = 1;
    module.patterns[0].declaredHeaderLength = 40;
    module.patterns.push_back(tools::emptyPattern(3, 2));
    module.patterns[1].at(2, 0, 2) = XmCell{.note = 70};
    module.patterns[1].declaredPackedSize = 0xFFFF;
    module.patterns[1].declaredHeaderLength = 0;
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->patterns[0].cells[2 * 2 + 1].note, 50);
    EXPECT_EQ(loaded.song->patterns[0].cells[2 * 2 + 1].effectParam, 0x20);
    ASSERT_EQ(loaded.song->patterns[1].rows, 3);
    EXPECT_EQ(loaded.song->patterns[1].cells[2 * 2].note, 70);
    EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(bytes.size()));
}

TEST(XmLoaderPatterns, APatternTheOrderTableNamesButTheFileLacksIs64EmptyRows) {
    XmModule module;
    module.channels = 3;
    module.orders = {0, 40, 33};
    for (int i = 0; i < 34; ++i) {
        module.patterns.push_back(tools::emptyPattern(16, 3));
    }
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->patternsUsed, 41);
    EXPECT_EQ(loaded.song->patternSlots, 41);
    EXPECT_EQ(loaded.song->patterns[33].rows, 16);
    for (int index = 34; index <= 40; ++index) {
        const Pattern& pattern = loaded.song->patterns[index];
        ASSERT_EQ(pattern.rows, 64) << "pattern " << index;
        ASSERT_NE(pattern.cells, nullptr);
        for (int cell = 0; cell < 64 * 3; ++cell) {
            EXPECT_EQ(pattern.cells[cell].note, 0);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Instruments

TEST(XmLoaderInstruments, TakesTheInstrumentFieldsAndDoublesTheFadeout) {
    XmInstrument instrument = instrumentWith({sampleOf({0, 1}), sampleOf({2, 3})});
    for (int note = 0; note < xm::NotesPerInstrument; ++note) {
        instrument.sampleForNote[note] = note < 48 ? 0 : 1;
    }
    instrument.sampleForNote[95] = 17;
    instrument.volumeEnvelope = envelopeOf({{0, 64}, {10, 32}, {30, 48}, {60, 0}},
                                           EnvelopeOn | EnvelopeSustain | EnvelopeLoop, 1, 2, 3);
    instrument.panningEnvelope = envelopeOf({{0, 32}, {5, 0}, {8, 64}}, EnvelopeOn, 2, 0, 1);
    instrument.vibratoType = 2;
    instrument.vibratoSweep = 30;
    instrument.vibratoDepth = 8;
    instrument.vibratoRate = 12;
    instrument.fadeout = 0x9001;
    XmModule module = smallModule();
    module.instruments = {instrument};

    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    ASSERT_EQ(loaded.song->instrumentCount, 1);
    const Instrument& got = loaded.song->instruments[0];
    EXPECT_EQ(got.sampleCount, 2);
    for (int note = 0; note < xm::NotesPerInstrument; ++note) {
        EXPECT_EQ(got.sampleMap[note], instrument.sampleForNote[note]) << "note " << note;
    }
    for (int point = 0; point < xm::MaxEnvelopePoints; ++point) {
        const auto& points = instrument.volumeEnvelope.points;
        const bool used = point < static_cast<int>(points.size());
        EXPECT_EQ(got.volumeEnvelope[point].x, used ? points[point].x : 0);
        EXPECT_EQ(got.volumeEnvelope[point].y, used ? points[point].y : 0);
    }
    EXPECT_EQ(got.panningEnvelope[2].x, 8);
    EXPECT_EQ(got.panningEnvelope[2].y, 64);
    EXPECT_EQ(got.volumePointCount, 4);
    EXPECT_EQ(got.panningPointCount, 3);
    EXPECT_EQ(got.volumeSustainPoint, 1);
    EXPECT_EQ(got.volumeLoopStart, 2);
    EXPECT_EQ(got.volumeLoopEnd, 3);
    EXPECT_EQ(got.panningSustainPoint, 2);
    EXPECT_EQ(got.panningLoopStart, 0);
    EXPECT_EQ(got.panningLoopEnd, 1);
    EXPECT_EQ(got.volumeEnvelopeFlags, EnvelopeOn | EnvelopeSustain | EnvelopeLoop);
    EXPECT_EQ(got.panningEnvelopeFlags, EnvelopeOn);
    EXPECT_EQ(got.vibratoType, 2);
    EXPECT_EQ(got.vibratoSweep, 30);
    EXPECT_EQ(got.vibratoDepth, 8);
    EXPECT_EQ(got.vibratoRate, 12);
    EXPECT_EQ(got.fadeout, 0x2002); // 2 x 0x9001, modulo 65536
    expectSongInvariants(*loaded.song);
}

TEST(XmLoaderInstruments, AnEnvelopeOfFewerThanTwoPointsIsSwitchedOff) {
    XmInstrument instrument = instrumentWith({sampleOf({1})});
    instrument.volumeEnvelope = envelopeOf({{0, 64}}, 7);
    instrument.panningEnvelope = envelopeOf({{0, 32}, {4, 0}}, 7);
    XmModule module = smallModule();
    module.instruments = {instrument, instrumentWith({sampleOf({1})})};
    module.instruments[1].panningEnvelope = envelopeOf({}, 5);
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->instruments[0].volumePointCount, 1);
    EXPECT_EQ(loaded.song->instruments[0].volumeEnvelopeFlags, 0);
    EXPECT_EQ(loaded.song->instruments[0].panningEnvelopeFlags, 7);
    EXPECT_EQ(loaded.song->instruments[1].panningEnvelopeFlags, 0);
}

TEST(XmLoaderInstruments, AnInstrumentWithoutSamplesRefersOnlyToTheEmptySample) {
    XmModule module = smallModule();
    XmInstrument second = instrumentWith({sampleOf({5, 6, 7})});
    second.vibratoDepth = 9;
    module.instruments = {XmInstrument{}, second};
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    const Instrument& empty = loaded.song->instruments[0];
    EXPECT_EQ(empty.sampleCount, 0);
    for (const Sample* slot : empty.samples) {
        EXPECT_EQ(slot, &EmptySample);
    }
    const Instrument& next = loaded.song->instruments[1];
    EXPECT_EQ(next.sampleCount, 1);
    EXPECT_EQ(next.vibratoDepth, 9);
    EXPECT_EQ(framesOf(*next.samples[0]), widened({5, 6, 7}));
    EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(bytes.size()));
}

TEST(XmLoaderInstruments, SkipsToTheEndOfTheDeclaredInstrumentHeader) {
    XmModule module = smallModule();
    XmInstrument padded = instrumentWith({sampleOf({-3, 4})});
    padded.headerPadding = 37;
    padded.fadeout = 100;
    XmInstrument emptyPadded;
    emptyPadded.headerPadding = 11;
    module.instruments = {emptyPadded, padded, instrumentWith({sampleOf({9})})};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->instruments[1].fadeout, 200);
    EXPECT_EQ(framesOf(*loaded.song->instruments[1].samples[0]), widened({-3, 4}));
    EXPECT_EQ(framesOf(*loaded.song->instruments[2].samples[0]), widened({9}));
}

TEST(XmLoaderInstruments, OwnsItsSamplesAndFillsTheOtherSlotsWithTheEmptySample) {
    const Loaded loaded =
        load(withInstruments({instrumentWith({sampleOf({1}), sampleOf({2}), sampleOf({3})})}));
    ASSERT_TRUE(loaded.ok);
    const Instrument& instrument = loaded.song->instruments[0];
    ASSERT_EQ(instrument.sampleCount, 3);
    for (int slot = 0; slot < 3; ++slot) {
        ASSERT_NE(instrument.ownSamples[slot], nullptr);
        EXPECT_EQ(instrument.samples[slot], instrument.ownSamples[slot].get());
        EXPECT_EQ(framesOf(*instrument.samples[slot]),
                  widened({static_cast<std::int16_t>(slot + 1)}));
    }
    for (int slot = 3; slot < xm::MaxSamplesPerInstrument; ++slot) {
        EXPECT_EQ(instrument.samples[slot], &EmptySample);
        EXPECT_EQ(instrument.ownSamples[slot], nullptr);
    }
}

// ---------------------------------------------------------------------------------------------
// Samples

TEST(XmLoaderSamples, TakesTheSampleHeaderFields) {
    XmSample written = sampleOf({1, 2, 3, 4});
    written.volume = 48;
    written.finetune = -16;
    written.panning = 200;
    written.relativeNote = -12;
    const Loaded loaded = loadModule(moduleWithSample(written));
    ASSERT_TRUE(loaded.ok);
    const Sample& sample = onlySample(loaded);
    EXPECT_EQ(sample.volume, 48);
    EXPECT_EQ(sample.finetune, -16);
    EXPECT_EQ(sample.panning, 200);
    EXPECT_EQ(sample.relativeNote, -12);
    EXPECT_EQ(sample.length, 4u);
}

TEST(XmLoaderSamples, DecodesEightBitDeltasIntoTheHighByte) {
    // Stored deltas 10, 246 (-10), 5.
    const Loaded loaded = loadModule(moduleWithSample(sampleOf({10, 0, 5})));
    ASSERT_TRUE(loaded.ok);
    const Sample& sample = onlySample(loaded);
    EXPECT_EQ(sample.bits, 16);
    EXPECT_EQ(framesOf(sample), (std::vector<std::int16_t>{2560, 0, 1280}));
    expectSampleInvariants(sample);
}

TEST(XmLoaderSamples, DecodesEightBitExtremesThatWrapTheDeltas) {
    const std::vector<std::int16_t> frames{-128, 127, -128, 0, 127, 127, -1, 1};
    const Loaded loaded = loadModule(moduleWithSample(sampleOf(frames)));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(framesOf(onlySample(loaded)), widened(frames));
}

TEST(XmLoaderSamples, DecodesSixteenBitDeltasAndCountsFrames) {
    const std::vector<std::int16_t> frames{-32768, 32767, -32768, 0, 1000, -1000, 32767, 1};
    const Loaded loaded = loadModule(moduleWithSample(sampleOf(frames, true)));
    ASSERT_TRUE(loaded.ok);
    const Sample& sample = onlySample(loaded);
    EXPECT_EQ(sample.length, frames.size());
    EXPECT_EQ(sample.bits, 16);
    EXPECT_EQ(framesOf(sample), frames);
    expectSampleInvariants(sample);
}

TEST(XmLoaderSamples, ReadsTheSamplesOfAnInstrumentInHeaderOrder) {
    XmModule module = smallModule();
    module.instruments = {instrumentWith(
        {sampleOf({1, 2}), sampleOf({300, -300, 7}, true), XmSample{}, sampleOf({-5})})};
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    const Instrument& instrument = loaded.song->instruments[0];
    EXPECT_EQ(framesOf(*instrument.samples[0]), widened({1, 2}));
    EXPECT_EQ(framesOf(*instrument.samples[1]), (std::vector<std::int16_t>{300, -300, 7}));
    EXPECT_EQ(instrument.samples[2]->length, 0u);
    EXPECT_EQ(instrument.samples[2]->data, nullptr);
    EXPECT_EQ(framesOf(*instrument.samples[3]), widened({-5}));
    EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(bytes.size()));
    expectSongInvariants(*loaded.song);
}

TEST(XmLoaderSamples, HalvesTheByteCountsOfASixteenBitLoop) {
    // Counted in frames; the file holds twice as many bytes (a loop from byte 200).
    const XmSample written = loopedSample(std::vector<std::int16_t>(500, 0), 1, 100, 300, true);
    const Loaded loaded = loadModule(moduleWithSample(written));
    ASSERT_TRUE(loaded.ok);
    const Sample& sample = onlySample(loaded);
    EXPECT_EQ(sample.length, 500u);
    EXPECT_EQ(sample.loopStart, 100u);
    EXPECT_EQ(sample.loopLength, 300u);
    EXPECT_EQ(sample.loopMode, ForwardLoop);
}

TEST(XmLoaderSamples, ConvertsTheLoopTypeBits) {
    struct Case {
        std::uint8_t type;
        std::uint8_t mode;
    };
    for (const Case c :
         {Case{0, NoLoop}, Case{1, ForwardLoop}, Case{2, PingPongLoop}, Case{3, PingPongLoop}}) {
        const XmSample written = loopedSample({1, 2, 3, 4, 5, 6}, c.type, 2, 3);
        const Loaded loaded = loadModule(moduleWithSample(written));
        ASSERT_TRUE(loaded.ok);
        const Sample& sample = onlySample(loaded);
        SCOPED_TRACE(::testing::Message() << "type " << int{c.type});
        EXPECT_EQ(sample.loopMode, c.mode);
        EXPECT_EQ(sample.loopStart, c.mode == NoLoop ? 0u : 2u);
        EXPECT_EQ(sample.loopLength, c.mode == NoLoop ? 6u : 3u);
        expectSampleInvariants(sample);
    }
}

TEST(XmLoaderSamples, ALoopOfLengthZeroIsNoLoop) {
    for (const bool sixteenBit : {false, true}) {
        const XmSample written = loopedSample({4, 3, 2, 1, 0}, 2, 3, 0, sixteenBit);
        const Loaded loaded = loadModule(moduleWithSample(written));
        ASSERT_TRUE(loaded.ok);
        const Sample& sample = onlySample(loaded);
        EXPECT_EQ(sample.loopMode, NoLoop);
        EXPECT_EQ(sample.loopStart, 0u);
        EXPECT_EQ(sample.loopLength, 5u);
        expectSampleInvariants(sample);
    }
}

TEST(XmLoaderSamples, WritesTheLoopGuardBehindTheLoop) {
    const std::vector<std::int16_t> frames{10, 20, 30, 40, 50, 60, 70, 80};
    const XmSample forward = loopedSample(frames, 1, 2, 4);
    const XmSample pingPong = loopedSample(frames, 2, 2, 4);
    const XmSample none = sampleOf(frames);
    const Loaded loaded = load(withInstruments({instrumentWith({forward, pingPong, none})}));
    ASSERT_TRUE(loaded.ok);
    const Instrument& instrument = loaded.song->instruments[0];

    // Forward: the slot after the loop repeats the loop's first frame.
    EXPECT_EQ(instrument.samples[0]->data[6], 30 * 256);
    // Ping-pong: it repeats the loop's last frame.
    EXPECT_EQ(instrument.samples[1]->data[6], 60 * 256);
    // A loop that ends before the last frame has its guard over the frame after it; playback
    // never reaches that frame.
    EXPECT_EQ(framesOf(*instrument.samples[0]), widened({10, 20, 30, 40, 50, 60, 30, 80}));
    // No loop: nothing is written after the last frame.
    for (std::uint32_t slot = 8; slot < 8 + SampleTailSlots; ++slot) {
        EXPECT_EQ(instrument.samples[2]->data[slot], 0);
    }
    expectSongInvariants(*loaded.song);
}

TEST(XmLoaderSamples, WritesTheGuardIntoTheTailWhenTheLoopEndsTheSample) {
    const XmSample forward = loopedSample({-7, 1, 2, 3}, 1, 1, 3);
    const XmSample pingPong = loopedSample({-7, 1, 2, 3}, 2, 1, 3);
    const Loaded loaded = load(withInstruments({instrumentWith({forward, pingPong})}));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->instruments[0].samples[0]->data[4], 1 * 256);
    EXPECT_EQ(loaded.song->instruments[0].samples[1]->data[4], 3 * 256);
    expectSongInvariants(*loaded.song);
}

TEST(XmLoaderSamples, AnEmptySampleHasNoDataAndNoLoop) {
    const XmSample written = loopedSample({}, 1, 0, 4);
    const Loaded loaded = loadModule(moduleWithSample(written));
    ASSERT_TRUE(loaded.ok);
    const Sample& sample = onlySample(loaded);
    EXPECT_EQ(sample.length, 0u);
    EXPECT_EQ(sample.data, nullptr);
    EXPECT_EQ(sample.loopMode, NoLoop);
    EXPECT_EQ(sample.loopLength, 0u);
}

// ---------------------------------------------------------------------------------------------
// Refused modules

TEST(XmLoaderFailure, RefusesAnyOtherIdentificationText) {
    const std::vector<std::uint8_t> good = tools::writeXm(smallModule());
    ASSERT_TRUE(load(good).ok);
    for (std::size_t i = 0; i < 17; ++i) {
        std::vector<std::uint8_t> bytes = good;
        bytes[i] ^= 0x20;
        EXPECT_EQ(load(bytes).refusal.reason, RefusalReason::NotXm) << "byte " << i;
    }
    std::vector<std::uint8_t> noSpace = good;
    noSpace[16] = 'X';
    EXPECT_EQ(load(noSpace).refusal.reason, RefusalReason::NotXm);
}

TEST(XmLoaderFailure, RefusesAFileTooShortForTheIdentificationText) {
    const std::vector<std::uint8_t> good = tools::writeXm(smallModule());
    for (std::size_t size = 0; size < 17; ++size) {
        EXPECT_EQ(load({good.begin(), good.begin() + size}).refusal.reason, RefusalReason::NotXm)
            << size << " bytes";
    }
}

TEST(XmLoaderFailure, RefusesAnInstrumentOfMoreThan16Samples) {
    XmModule module = smallModule();
    module.instruments = {XmInstrument{}, instrumentWith(std::vector<XmSample>(17, sampleOf({1})))};
    EXPECT_EQ(why(loadModule(module)), Why(RefusalReason::TooManySamples, 1, 17));

    module.instruments[1] = instrumentWith(std::vector<XmSample>(16, sampleOf({1})));
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->instruments[1].sampleCount, 16);
    expectSongInvariants(*loaded.song);
}

TEST(XmLoaderFailure, RefusesMoreChannelsThanTheChannelTableHolds) {
    for (const int channels : {33, 40, 0xFFFF}) {
        XmModule module = smallModule();
        module.channels = static_cast<std::uint16_t>(channels);
        module.patterns = {patternWithoutData(2)};
        EXPECT_EQ(why(loadModule(module)), Why(RefusalReason::TooManyChannels, 0, channels));
    }
    XmModule module = smallModule();
    module.channels = 32;
    module.patterns = {tools::emptyPattern(2, 32)};
    module.patterns[0].at(1, 31, 32) = XmCell{.note = 3};
    const Loaded loaded = loadModule(module);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->channelCount, 32);
    EXPECT_EQ(loaded.song->patterns[0].cells[2 * 32 - 1].note, 3);
}

TEST(XmLoaderFailure, RefusesAPatternOfMoreThan256Rows) {
    // Trusting the row count let a 2 KB file of 200 pattern headers without cells reserve
    // 200 x 65535 rows of 32 channels, over 2 GB.
    for (const bool withCells : {false, true}) {
        for (const int rows : {257, 0xFFFF}) {
            XmModule module = smallModule();
            module.orders = {0, 1};
            module.patterns.push_back(withCells ? tools::emptyPattern(rows, 2)
                                                : patternWithoutData(rows));
            EXPECT_EQ(why(loadModule(module)), Why(RefusalReason::TooManyRows, 1, rows))
                << "cells stored: " << withCells;
        }
        XmModule module = smallModule();
        module.patterns = {withCells ? tools::emptyPattern(256, 2) : patternWithoutData(256)};
        const Loaded loaded = loadModule(module);
        ASSERT_EQ(why(loaded), Why(RefusalReason::None, 0, 0));
        EXPECT_EQ(loaded.song->patterns[0].rows, 256);
    }
}

// ---------------------------------------------------------------------------------------------
// Damaged modules that load with their unsafe values mended

using Bytes = std::vector<std::uint8_t>;

// Two stored patterns, the second played by the last of 256 order entries.
Bytes withSongLengthField(unsigned stored) {
    XmModule module = smallModule();
    module.orders.assign(256, 0);
    module.orders[255] = 1;
    module.patterns.push_back(tools::emptyPattern(4, 2));
    Bytes bytes = tools::writeXm(module);
    putU16(bytes, xm::SongLengthOffset, stored);
    return bytes;
}

Bytes withHeader(std::uint16_t restart, std::uint16_t speed, std::uint16_t bpm) {
    XmModule module = smallModule();
    module.orders = {0, 0, 0};
    module.restartPosition = restart;
    module.speed = speed;
    module.bpm = bpm;
    return tools::writeXm(module);
}

// The first pattern's header claims data, but no rows means no cells.
Bytes withAStoredPatternOfNoRows() {
    XmModule module = smallModule();
    module.orders = {0, 1};
    module.patterns = {tools::emptyPattern(0, 2), tools::emptyPattern(2, 2)};
    module.patterns[0].declaredPackedSize = 10;
    module.patterns[1].at(1, 0, 2) = XmCell{.note = 77};
    return tools::writeXm(module);
}

// Each stored pattern takes at least its 9-byte header. Trusting the count made a header of a
// few hundred bytes reserve 65535 x 64 empty rows of 32 channels, about 670 MB.
Bytes claimingEveryPatternThereIs(std::size_t bytesCutOff) {
    XmModule module = smallModule();
    module.channels = 32;
    module.orders = {1};
    module.patterns = {patternWithoutData(5), patternWithoutData(7)};
    Bytes bytes = tools::writeXm(module);
    EXPECT_EQ(bytes.size(), FirstPatternOffset + 2 * xm::PatternHeaderBytes);
    putU16(bytes, xm::PatternCountOffset, 0xFFFF);
    bytes.resize(bytes.size() - bytesCutOff);
    return bytes;
}

// The second loop's start + length wraps around 32 bits.
Bytes withLoopsRunningPastTheSample() {
    const std::vector<std::int16_t> frames{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    return withInstruments({instrumentWith(
        {loopedSample(frames, 1, 4, 100), loopedSample(frames, 2, 4, 0xFFFFFFF0)})});
}

Bytes withLoopStartingAt(std::uint32_t start) {
    return withInstruments(
        {instrumentWith({loopedSample({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 2, start, 4, true)})});
}

Bytes withEnvelopeCountsPastTwelvePoints() {
    std::vector<tools::XmEnvelopePoint> points;
    for (std::uint16_t x = 0; x < 12; ++x) {
        points.push_back({static_cast<std::uint16_t>(x * 4), 32});
    }
    XmInstrument instrument = instrumentWith({sampleOf({1})});
    instrument.volumeEnvelope = envelopeOf(points, 7, 12, 40, 255);
    instrument.volumeEnvelope.declaredPointCount = 200;
    instrument.panningEnvelope = envelopeOf({{0, 0}, {4, 8}, {8, 16}}, 7, 3, 1, 9);
    XmInstrument thirteen = instrumentWith({sampleOf({1})});
    thirteen.panningEnvelope.declaredPointCount = 13;
    thirteen.panningEnvelope.flags = 1;
    return withInstruments({instrument, thirteen});
}

// Twelve stored volume points at x = 4 x i with the value 8 x i, of which `pointCount` are used,
// looping from `loopStart` to point 1.
Bytes withEnvelopeLoopingFrom(std::uint8_t loopStart, std::uint8_t pointCount) {
    std::vector<tools::XmEnvelopePoint> points;
    for (std::uint16_t x = 0; x < xm::MaxEnvelopePoints; ++x) {
        points.push_back({static_cast<std::uint16_t>(4 * x), static_cast<std::uint16_t>(8 * x)});
    }
    XmInstrument instrument = instrumentWith({sampleOf({1})});
    instrument.volumeEnvelope = envelopeOf(points, EnvelopeOn | EnvelopeLoop, 0, loopStart, 1);
    instrument.volumeEnvelope.declaredPointCount = pointCount;
    return withInstruments({instrument});
}

Bytes withALoopingEnvelopeOfNoPoints() {
    XmInstrument instrument = instrumentWith({sampleOf({1})});
    instrument.volumeEnvelope = envelopeOf({}, 7, 5, 6, 7);
    return withInstruments({instrument});
}

// The 8-bit frames 3, -3, 9, 27, -81, 100, 0, 1, 2, 3 under a larger byte count, with a loop
// from 8 that ends inside the claimed length and past the real one.
Bytes claimingSampleBytes(std::uint32_t claimed) {
    XmSample sample = loopedSample({3, -3, 9, 27, -81, 100, 0, 1, 2, 3}, 1, 8, 500);
    sample.declaredByteLength = claimed;
    return withInstruments({instrumentWith({sample})});
}

// Half a frame more follows the sample.
Bytes withHalfASixteenBitFrameLeft() {
    XmSample sample = sampleOf({1000, -1000, 5, 6, 7}, true);
    sample.declaredByteLength = 0xFFFFFFFF;
    Bytes bytes = withInstruments({instrumentWith({sample})});
    bytes.push_back(0x7F);
    return bytes;
}

// A sample that claims the rest of the file, and after it one that finds nothing left.
Bytes withASampleLeftNothing() {
    XmSample greedy = sampleOf({1, 2, 3, 4});
    greedy.declaredByteLength = 0x10000;
    XmSample starved = loopedSample({}, 1, 2, 8);
    starved.declaredByteLength = 0x10000;
    return withInstruments({instrumentWith({greedy, starved})});
}

Bytes withInstrumentCountField(unsigned stored) {
    Bytes bytes = tools::writeXm(smallModule());
    putU16(bytes, xm::InstrumentCountOffset, stored);
    return bytes;
}

// Where the volume envelope of a looping instrument ends up within 100 ticks of a note start:
// its output, and whether it finished.
std::pair<std::int32_t, bool> volumeEnvelopeEnd(const Instrument& instrument) {
    Channel channel{};
    const EnvelopeShape shape = volumeEnvelopeShape(instrument);
    for (int tick = 0; tick < 100 && envelopeRuns(shape, volumeEnvelopeState(channel)); ++tick) {
        stepEnvelope(channel, volumeEnvelopeState(channel), shape, VolumeChanged);
    }
    return {channel.volumeEnvelopeOutput, channel.volumeEnvelopeFinished == 1};
}

// Damaged modules that all load, mended the same way.
struct MendCase {
    std::string_view name;
    std::vector<Bytes> modules;
    void (*expectMended)(const Song&);
};

void PrintTo(const MendCase& mend, std::ostream* out) {
    *out << mend.name;
}

// The patterns of a module that claimingEveryPatternThereIs wrote.
void expectTwoPatterns(const Song& song, std::int32_t secondRows) {
    EXPECT_EQ(song.patternSlots, 2);
    EXPECT_EQ(song.patterns[0].rows, 5);
    EXPECT_EQ(song.patterns[1].rows, secondRows);
}

// The volume envelope of a module that withEnvelopeLoopingFrom wrote.
void expectEnvelopeLoop(const Song& song, std::uint8_t pointCount, std::uint8_t loopStart,
                        std::int32_t lastOutput, bool finishes) {
    const Instrument& instrument = song.instruments[0];
    EXPECT_EQ(instrument.volumePointCount, pointCount);
    EXPECT_EQ(instrument.volumeLoopStart, loopStart);
    EXPECT_EQ(instrument.volumeEnvelopeFlags, EnvelopeOn | EnvelopeLoop);
    EXPECT_EQ(volumeEnvelopeEnd(instrument), std::pair(lastOutput, finishes));
}

// Built when the tests are listed, not before main.
std::vector<MendCase> mendCases() {
    // An envelope loops from its loop start's point and, unless that is the last used one, the
    // next. Past the used points it then holds the stored point's value (8 x the point) for
    // ever; from 11 on, short of 12 used points, it would read past the 12 stored ones, and
    // goes to the last used point instead, where it finishes.
    return {
        {"ASongLengthAbove256IsClampedTo256",
         {withSongLengthField(257), withSongLengthField(300), withSongLengthField(0xFFFF)},
         [](const Song& song) {
             EXPECT_EQ(song.songLength, 256);
             EXPECT_EQ(song.patternsUsed, 2);
         }},
        {"ARestartPositionInsideTheSongIsKept",
         {withHeader(2, 6, 125)},
         [](const Song& song) { EXPECT_EQ(song.restartPosition, 2); }},
        {"ARestartPositionPastTheSongRestartsFromTheBeginning",
         {withHeader(3, 6, 125), withHeader(200, 6, 125), withHeader(0xFFFF, 6, 125)},
         [](const Song& song) { EXPECT_EQ(song.restartPosition, 0); }},
        {"ADefaultBpmOfZeroIsOne",
         {withHeader(0, 6, 0)},
         [](const Song& song) { EXPECT_EQ(song.defaultBpm, 1); }},
        {"HeaderCountsAboveTheSignedRangeStayPositive",
         {withHeader(0, 40000, 0xFFFF)},
         [](const Song& song) {
             EXPECT_EQ(song.defaultBpm, 32767);
             EXPECT_EQ(song.defaultSpeed, 32767);
         }},
        {"AStoredPatternOfNoRowsPlaysAs64EmptyRows",
         {withAStoredPatternOfNoRows()},
         [](const Song& song) {
             const Pattern& empty = song.patterns[0];
             ASSERT_EQ(empty.rows, 64);
             ASSERT_NE(empty.cells, nullptr);
             for (int cell = 0; cell < 64 * 2; ++cell) {
                 EXPECT_EQ(empty.cells[cell].note, 0);
             }
             EXPECT_EQ(song.patterns[1].cells[2].note, 77);
         }},
        {"EveryStoredPatternWithAHeaderIsRead",
         {claimingEveryPatternThereIs(0)},
         [](const Song& song) { expectTwoPatterns(song, 7); }},
        // The pattern the order table plays is then the 64 empty rows of a missing one.
        {"NoStoredPatternIsReadPastTheLastWholeHeader",
         {claimingEveryPatternThereIs(1)},
         [](const Song& song) { expectTwoPatterns(song, 64); }},
        {"ALoopThatRunsPastTheSampleIsClampedIntoIt",
         {withLoopsRunningPastTheSample()},
         [](const Song& song) {
             for (int slot = 0; slot < 2; ++slot) {
                 EXPECT_EQ(song.instruments[0].samples[slot]->loopStart, 4u);
                 EXPECT_EQ(song.instruments[0].samples[slot]->loopLength, 6u);
             }
             EXPECT_EQ(song.instruments[0].samples[0]->data[10], 5 * 256);
             EXPECT_EQ(song.instruments[0].samples[1]->data[10], 10 * 256);
         }},
        {"ALoopThatStartsAtOrPastTheSampleEndIsNoLoop",
         {withLoopStartingAt(10), withLoopStartingAt(11), withLoopStartingAt(5000),
          withLoopStartingAt(0x7FFFFFFF)},
         [](const Song& song) {
             const Sample& sample = *song.instruments[0].samples[0];
             EXPECT_EQ(sample.loopMode, NoLoop);
             EXPECT_EQ(sample.loopStart, 0u);
             EXPECT_EQ(sample.loopLength, 10u);
         }},
        // Past the points a loop end is never met: clamped to the last point, it would loop there
        // and a fading note would never end.
        {"EnvelopePointCountsAndTheLoopStartAreClampedButNotTheLoopEnd",
         {withEnvelopeCountsPastTwelvePoints()},
         [](const Song& song) {
             const Instrument& got = song.instruments[0];
             EXPECT_EQ(got.volumePointCount, 12);
             EXPECT_EQ(got.volumeLoopStart, 11);
             EXPECT_EQ(got.volumeEnvelopeFlags, 7);
             EXPECT_EQ(got.volumeSustainPoint, 12);
             EXPECT_EQ(got.volumeLoopEnd, 255);
             EXPECT_EQ(got.panningPointCount, 3);
             EXPECT_EQ(got.panningSustainPoint, 3);
             EXPECT_EQ(got.panningLoopStart, 1);
             EXPECT_EQ(got.panningLoopEnd, 9);
             EXPECT_EQ(song.instruments[1].panningPointCount, 12);
             EXPECT_EQ(song.instruments[1].panningEnvelopeFlags, 1);
         }},
        {"AnEnvelopeLoopStartOnAUsedPointIsKept",
         {withEnvelopeLoopingFrom(2, 4)},
         [](const Song& song) { expectEnvelopeLoop(song, 4, 2, 24, true); }},
        {"AnEnvelopeLoopStartOnTheLastUsedPointIsKept",
         {withEnvelopeLoopingFrom(3, 4)},
         [](const Song& song) { expectEnvelopeLoop(song, 4, 3, 24, true); }},
        {"AnEnvelopeLoopStartPastTheUsedPointsHoldsThatStoredPoint",
         {withEnvelopeLoopingFrom(8, 4)},
         [](const Song& song) { expectEnvelopeLoop(song, 4, 8, 64, false); }},
        {"AnEnvelopeLoopStartOnTheEleventhStoredPointHoldsIt",
         {withEnvelopeLoopingFrom(10, 4)},
         [](const Song& song) { expectEnvelopeLoop(song, 4, 10, 80, false); }},
        {"AnEnvelopeLoopStartThatWouldReadPastTheStoredPointsMovesToTheLastUsedPoint",
         {withEnvelopeLoopingFrom(11, 4), withEnvelopeLoopingFrom(200, 4)},
         [](const Song& song) { expectEnvelopeLoop(song, 4, 3, 24, true); }},
        {"AnEnvelopeLoopStartOnTheLastOfTwelvePointsIsKept",
         {withEnvelopeLoopingFrom(11, 12)},
         [](const Song& song) { expectEnvelopeLoop(song, 12, 11, 88, true); }},
        {"AnEnvelopeLoopStartPastTwelvePointsMovesToTheLastPoint",
         {withEnvelopeLoopingFrom(12, 12)},
         [](const Song& song) { expectEnvelopeLoop(song, 12, 11, 88, true); }},
        {"TheLoopStartOfAnEnvelopeWithoutPointsStaysOnTheFirstSlot",
         {withALoopingEnvelopeOfNoPoints()},
         [](const Song& song) {
             EXPECT_EQ(song.instruments[0].volumePointCount, 0);
             EXPECT_EQ(song.instruments[0].volumeEnvelopeFlags, 0);
             EXPECT_EQ(song.instruments[0].volumeLoopStart, 0);
         }},
        {"ASampleClaimingMoreDataThanTheFileHoldsIsTrimmed",
         {claimingSampleBytes(11), claimingSampleBytes(1000), claimingSampleBytes(0x7FFFFFFF),
          claimingSampleBytes(0xFFFFFFFF)},
         [](const Song& song) {
             const Sample& sample = *song.instruments[0].samples[0];
             EXPECT_EQ(framesOf(sample), widened({3, -3, 9, 27, -81, 100, 0, 1, 2, 3}));
             EXPECT_EQ(sample.loopMode, ForwardLoop);
             EXPECT_EQ(sample.loopStart, 8u);
             EXPECT_EQ(sample.loopLength, 2u);
             EXPECT_EQ(sample.data[10], 2 * 256);
         }},
        {"ASixteenBitSampleIsTrimmedToTheWholeFramesLeft",
         {withHalfASixteenBitFrameLeft()},
         [](const Song& song) {
             EXPECT_EQ(framesOf(*song.instruments[0].samples[0]),
                       (std::vector<std::int16_t>{1000, -1000, 5, 6, 7}));
         }},
        {"ASampleTrimmedToNothingHasNoDataAndNoLoop",
         {withASampleLeftNothing()},
         [](const Song& song) {
             EXPECT_EQ(framesOf(*song.instruments[0].samples[0]), widened({1, 2, 3, 4}));
             const Sample& empty = *song.instruments[0].samples[1];
             EXPECT_EQ(empty.length, 0u);
             EXPECT_EQ(empty.data, nullptr);
             EXPECT_EQ(empty.loopMode, NoLoop);
         }},
        {"AnInstrumentCountAboveTheSignedRangeLoadsAsEmptyInstruments",
         {withInstrumentCountField(0xFFFF)},
         [](const Song& song) {
             ASSERT_EQ(song.instrumentCount, 32767);
             EXPECT_EQ(song.instruments[32766].sampleCount, 0);
             EXPECT_EQ(song.instruments[32766].samples[15], &EmptySample);
         }},
    };
}

class XmLoaderMends : public ::testing::TestWithParam<MendCase> {};

TEST_P(XmLoaderMends, LoadsWithTheUnsafeValuesMended) {
    for (std::size_t i = 0; i < GetParam().modules.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "module " << i);
        const Loaded loaded = load(GetParam().modules[i]);
        ASSERT_TRUE(loaded.ok);
        expectSongInvariants(*loaded.song);
        GetParam().expectMended(*loaded.song);
    }
}

INSTANTIATE_TEST_SUITE_P(, XmLoaderMends, ::testing::ValuesIn(mendCases()),
                         ::testing::PrintToStringParamName());

// ---------------------------------------------------------------------------------------------
// Truncated modules

XmModule truncationModule() {
    XmModule module;
    module.channels = 3;
    module.restartPosition = 1;
    module.orders = {0, 1, 0, 2};
    XmPattern first = tools::emptyPattern(3, 3);
    first.at(0, 0, 3) =
        XmCell{.note = 49, .instrument = 1, .volume = 0x40, .effect = 1, .parameter = 2};
    first.at(1, 2, 3) = XmCell{.note = 97};
    first.at(2, 1, 3) = XmCell{.instrument = 2, .effect = 0x0F, .parameter = 3};
    XmPattern second = tools::emptyPattern(2, 3);
    second.unpacked = true;
    second.at(1, 1, 3) = XmCell{.note = 13, .instrument = 1};
    module.patterns = {first, second, patternWithoutData(5)};

    const XmSample eight = loopedSample({0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, 1, 3, 5);
    const XmSample sixteen =
        loopedSample({-100, 200, -300, 400, -500, 600, -700, 800}, 2, 2, 6, true);
    XmInstrument melodic = instrumentWith({eight, sixteen});
    melodic.volumeEnvelope = envelopeOf({{0, 64}, {8, 0}}, EnvelopeOn);
    melodic.fadeout = 300;
    module.instruments = {melodic, XmInstrument{}, instrumentWith({sampleOf({5, 4, 3, 2, 1})})};
    return module;
}

TEST(XmLoaderTruncation, EveryPrefixOfAModuleLoadsSafelyWithWhatItHolds) {
    const std::vector<std::uint8_t> whole = tools::writeXm(truncationModule());
    const Loaded full = load(whole);
    ASSERT_TRUE(full.ok);
    expectSongInvariants(*full.song);
    const Sample& lastFull = *full.song->instruments[2].samples[0];
    const std::size_t lastDataStart = whole.size() - lastFull.length;

    for (std::size_t size = 17; size <= whole.size(); ++size) {
        SCOPED_TRACE(::testing::Message() << "first " << size << " bytes");
        const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + size);
        const Loaded loaded = load(prefix);
        ASSERT_TRUE(loaded.ok);
        expectSongInvariants(*loaded.song);
        EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(size));
        if (size >= FirstPatternOffset) {
            EXPECT_EQ(loaded.song->channelCount, 3);
            EXPECT_EQ(loaded.song->songLength, 4);
            EXPECT_EQ(loaded.song->patternSlots, 3);
            EXPECT_EQ(loaded.song->instrumentCount, 3);
        }
        if (size >= lastDataStart) {
            // Only the last sample's data is cut short: it keeps the frames that are there.
            const Sample& last = *loaded.song->instruments[2].samples[0];
            const std::vector<std::int16_t> expected(
                full.song->instruments[2].samples[0]->data.get(),
                full.song->instruments[2].samples[0]->data.get() + (size - lastDataStart));
            EXPECT_EQ(framesOf(last), expected);
            EXPECT_EQ(framesOf(*loaded.song->instruments[0].samples[1]),
                      framesOf(*full.song->instruments[0].samples[1]));
        }
    }
}

TEST(XmLoaderTruncation, BytesMissingFromTheHeaderReadAsZero) {
    const std::vector<std::uint8_t> whole = tools::writeXm(truncationModule());
    // Up to and including the channel count's low byte: the pattern count is missing.
    const Loaded loaded = load({whole.begin(), whole.begin() + 69});
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.song->songLength, 4);
    EXPECT_EQ(loaded.song->restartPosition, 1);
    EXPECT_EQ(loaded.song->channelCount, 3);
    EXPECT_EQ(loaded.song->instrumentCount, 0);
    EXPECT_EQ(loaded.song->flags, 0);
    EXPECT_EQ(loaded.song->defaultSpeed, 0);
    EXPECT_EQ(loaded.song->defaultBpm, 1);
    // The order table reads as zeros: pattern 0 is used and missing, so it is 64 empty rows.
    EXPECT_EQ(loaded.song->patternsUsed, 1);
    EXPECT_EQ(loaded.song->patternSlots, 1);
    EXPECT_EQ(loaded.song->patterns[0].rows, 64);
}

// ---------------------------------------------------------------------------------------------
// The tune that the intro ships

TEST(XmLoaderShippedTune, TheShippedTuneLoadsCompletely) {
    const XmModule tune = tools::tune::omraTune();
    const std::vector<std::uint8_t> bytes = tools::writeXm(tune);
    const Loaded loaded = load(bytes);
    ASSERT_TRUE(loaded.ok);
    const Song& song = *loaded.song;
    EXPECT_EQ(loaded.endPosition, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(song.channelCount, tune.channels);
    EXPECT_EQ(song.songLength, static_cast<std::int16_t>(tune.orders.size()));
    EXPECT_EQ(song.instrumentCount, static_cast<std::int16_t>(tune.instruments.size()));
    EXPECT_GE(song.patternSlots, static_cast<std::int32_t>(tune.patterns.size()));
    for (std::size_t p = 0; p < tune.patterns.size(); ++p) {
        EXPECT_EQ(song.patterns[p].rows, tune.patterns[p].rows);
    }
    for (std::size_t i = 0; i < tune.instruments.size(); ++i) {
        const auto& samples = tune.instruments[i].samples;
        ASSERT_EQ(song.instruments[i].sampleCount, static_cast<std::int32_t>(samples.size()));
        for (std::size_t s = 0; s < samples.size(); ++s) {
            const Sample& sample = *song.instruments[i].samples[s];
            if (samples[s].sixteenBit) {
                EXPECT_EQ(framesOf(sample), samples[s].frames);
            } else {
                EXPECT_EQ(framesOf(sample), widened(samples[s].frames));
            }
        }
    }
    expectSongInvariants(song);
}

} // namespace
} // namespace omra
