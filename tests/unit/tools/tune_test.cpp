#include "common/files.h"
#include "core/little_endian.h"
#include "player/memory_file.h"
#include "player/player.h"
#include "records/mix_constants.h"
#include "records/tempo.h"
#include "support/content_baseline.h"
#include "tune/omra_tune.h"
#include "xmrender/offline_render.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace omra::tools::tune {
namespace {

const std::string DataDir = OMRA_DATA_DIR;

// The tune omra-tune writes, written once; data/module.xm is this one while the content
// baseline says so.
const std::vector<std::uint8_t>& writtenTune() {
    static const std::vector<std::uint8_t> bytes = writeXm(omraTune());
    return bytes;
}

// The header facts the intro was designed around.
constexpr int Channels = 6;
constexpr int Patterns = 34;
constexpr int Rows = 64;
constexpr int RestartPosition = 2;
constexpr int Speed = 5;
constexpr int Bpm = 115;
constexpr int FramesPerTick = 958;
constexpr int Instruments = 10;
constexpr int SampledInstruments = 8;

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return readU32LE(&bytes.at(at + 3) - 3);
}

unsigned u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return readU16LE(&bytes.at(at + 1) - 1);
}

// Loads the module the way the intro does, through the memory file.
struct LoadedSong {
    explicit LoadedSong(const std::vector<std::uint8_t>& moduleBytes) : bytes(moduleBytes) {
        song = loadSongFromMemory(bytes);
    }
    ~LoadedSong() { freeSong(song); }
    LoadedSong(const LoadedSong&) = delete;
    LoadedSong& operator=(const LoadedSong&) = delete;

    std::vector<std::uint8_t> bytes;
    Song* song = nullptr;
};

TEST(Tune, TheCommittedModuleIsExactlyWhatTheGeneratorWrites) {
    if (testing::contentBaseline().generated.count("module.xm") == 0) {
        GTEST_SKIP() << "data/module.xm is not omra-tune's, as tests/golden/content.txt records";
    }
    EXPECT_EQ(readFile(DataDir + "/module.xm"), writtenTune());
}

TEST(Tune, TheModuleLoadsWithTheHeaderFactsTheIntroExpects) {
    const LoadedSong loaded(writtenTune());
    ASSERT_NE(loaded.song, nullptr);
    Song& song = *loaded.song;
    EXPECT_EQ(song.channelCount, Channels);
    EXPECT_EQ(song.songLength, Patterns);
    EXPECT_EQ(song.restartPosition, RestartPosition);
    EXPECT_EQ(song.patternsUsed, Patterns);
    EXPECT_EQ(song.patternSlots, Patterns);
    for (int p = 0; p < song.patternSlots; ++p) {
        EXPECT_EQ(song.patterns[p].rows, Rows) << "pattern " << p;
    }
    const std::set<int> played(song.orderTable.begin(), song.orderTable.begin() + song.songLength);
    EXPECT_EQ(played.size(), static_cast<std::size_t>(Patterns)) << "every pattern is played";
    EXPECT_TRUE(song.flags & xm::LinearFrequencyTable);
    EXPECT_EQ(song.defaultSpeed, Speed);
    EXPECT_EQ(song.defaultBpm, Bpm);
    setTempo(song, song.defaultBpm);
    EXPECT_EQ(song.framesPerTick, FramesPerTick);
    ASSERT_EQ(song.instrumentCount, Instruments);
    for (int i = 0; i < Instruments; ++i) {
        EXPECT_EQ(song.instruments[i].sampleCount, i < SampledInstruments ? 1 : 0)
            << "instrument " << i + 1;
    }
}

TEST(Tune, TheFileUsesTheStandardHeaderSizes) {
    const std::vector<std::uint8_t> bytes = writtenTune();
    EXPECT_EQ(u32At(bytes, 60), 276u);
    std::size_t at = 60 + u32At(bytes, 60);
    for (int p = 0; p < Patterns; ++p) {
        EXPECT_EQ(u32At(bytes, at), 9u) << "pattern " << p;
        at += 9 + u16At(bytes, at + 7);
    }
    const XmModule tune = omraTune();
    for (int i = 0; i < Instruments; ++i) {
        const bool sampled = i < SampledInstruments;
        EXPECT_EQ(u32At(bytes, at), sampled ? 263u : 29u) << "instrument " << i + 1;
        EXPECT_EQ(u16At(bytes, at + 27), sampled ? 1u : 0u) << "instrument " << i + 1;
        if (!sampled) {
            at += u32At(bytes, at);
            continue;
        }
        EXPECT_EQ(u32At(bytes, at + 29), 40u) << "instrument " << i + 1;
        const std::size_t sampleHeader = at + u32At(bytes, at);
        at = sampleHeader + 40 + u32At(bytes, sampleHeader);
    }
    EXPECT_EQ(at, bytes.size()) << "the walk over the headers ends at the file's last byte";
}

TEST(Tune, ItsInstrumentsUseTheFormatsVariety) {
    const XmModule tune = omraTune();
    const std::size_t bytes = writeXm(tune).size();
    int eightBit = 0, sixteenBit = 0, forward = 0, pingPong = 0;
    bool volumeSustain = false, volumeLoop = false, panning = false, autoVibrato = false;
    for (const XmInstrument& instrument : tune.instruments) {
        for (const XmSample& sample : instrument.samples) {
            (sample.sixteenBit ? sixteenBit : eightBit) += 1;
            forward += sample.loopType == 1 ? 1 : 0;
            pingPong += sample.loopType == 2 ? 1 : 0;
        }
        const XmEnvelope& volume = instrument.volumeEnvelope;
        volumeSustain = volumeSustain || (volume.flags & 3) == 3;
        volumeLoop = volumeLoop || (volume.flags & 5) == 5;
        panning = panning || (instrument.panningEnvelope.flags & 1) != 0;
        autoVibrato = autoVibrato || instrument.vibratoDepth != 0;
        if (volume.flags & 1) {
            EXPECT_GT(instrument.fadeout, 0) << instrument.name << " fades out on key-off";
        }
    }
    EXPECT_GT(eightBit, sixteenBit);
    EXPECT_GE(sixteenBit, 1);
    EXPECT_GE(forward, 1);
    EXPECT_GE(pingPong, 1);
    EXPECT_TRUE(volumeSustain);
    EXPECT_TRUE(volumeLoop);
    EXPECT_TRUE(panning);
    EXPECT_TRUE(autoVibrato);
    EXPECT_GT(bytes, 40000u);
    EXPECT_LT(bytes, 60000u);
}

TEST(Tune, ItsPatternsUseTheEffectsItIsWrittenWith) {
    std::set<int> effects;
    std::set<int> volumeCommands;
    for (const XmPattern& pattern : omraTune().patterns) {
        for (const XmCell& cell : pattern.cells) {
            if (cell.effect != 0 || cell.parameter != 0) {
                effects.insert(cell.effect == 14 ? 0xE0 | cell.parameter >> 4 : cell.effect);
            }
            if (cell.volume != 0) {
                volumeCommands.insert(cell.volume >> 4);
            }
        }
    }
    // Arpeggio, portamento up and down, tone portamento, vibrato, tremolo, sample offset,
    // volume slide, pattern break, panning slide, multi retrigger; retrigger, note cut and
    // note delay among the extended commands.
    for (const int effect : {0, 1, 2, 3, 4, 7, 9, 10, 13, 25, 27, 0xE9, 0xEC, 0xED}) {
        EXPECT_TRUE(effects.count(effect)) << "effect " << effect;
    }
    // Set volume, slides, fine slides, vibrato speed and depth, panning, panning slides and
    // tone portamento in the volume column.
    for (int command = 1; command <= 15; ++command) {
        if (command != 5) {
            EXPECT_TRUE(volumeCommands.count(command)) << "volume command " << command;
        }
    }
}

// One pass of the song through the intro's own player, as xmrender plays it.
struct PassLevels {
    RenderResult result;
    std::uint64_t fullScale = 0;
    double sum[2] = {0, 0};
    double sideSum = 0;
    std::uint64_t frames = 0;

    double dbfs(double squares) const {
        return 10.0 * std::log10(squares / frames / 32768.0 / 32768.0);
    }
};

PassLevels renderOnePass() {
    const LoadedSong loaded(writtenTune());
    PassLevels levels;
    if (loaded.song == nullptr) {
        ADD_FAILURE() << "the module does not load";
        return levels;
    }
    RenderPlan length;
    length.passLimitFrames = std::uint64_t{10} * 60 * MixRate;
    levels.result = renderSong(
        *loaded.song, length,
        [&](std::span<const std::int16_t> pcm) {
            for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
                const double left = pcm[i], right = pcm[i + 1];
                levels.fullScale += (pcm[i] == 32767 || pcm[i] == -32768) +
                                    (pcm[i + 1] == 32767 || pcm[i + 1] == -32768);
                levels.sum[0] += left * left;
                levels.sum[1] += right * right;
                levels.sideSum += (left - right) * (left - right);
                ++levels.frames;
            }
        },
        [](std::uint64_t) {});
    return levels;
}

TEST(Tune, OnePassNeverClipsSitsAtAComfortableLevelAndUsesBothSides) {
    const PassLevels levels = renderOnePass();
    ASSERT_GT(levels.frames, 0u);
    EXPECT_TRUE(levels.result.cameBack) << "the song comes back to its restart position";
    const double minutes = static_cast<double>(levels.frames) / MixRate / 60.0;
    EXPECT_GT(minutes, 3.5);
    EXPECT_LT(minutes, 4.5);
    EXPECT_EQ(levels.fullScale, 0u) << "samples at full scale";
    for (int side = 0; side < 2; ++side) {
        EXPECT_GE(levels.dbfs(levels.sum[side]), -20.0) << "channel " << side;
        EXPECT_LE(levels.dbfs(levels.sum[side]), -12.0) << "channel " << side;
    }
    // Mono would leave no difference between the sides; panning leaves a clear one.
    EXPECT_GT(levels.dbfs(levels.sideSum), -40.0);
}

} // namespace
} // namespace omra::tools::tune
