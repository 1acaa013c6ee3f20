// Cut-off and corrupted modules: the player loads them or refuses them for a reason it gives,
// and whatever it loads plays without reading or writing out of bounds (the sanitizers of the
// debug build watch every run).
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "records/xm_format.h"
#include "support/covering_modules.h"
#include "tune/omra_tune.h"
#include "xm/xm_check.h"
#include "xm/xm_writer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace omra {
namespace {

using testing::NamedFile;

constexpr int TicksPlayed = 100;
constexpr std::int32_t FramesPerTick = 24;

struct SongRelease {
    void operator()(Song* song) const { freeSong(song); }
};
using LoadedSong = std::unique_ptr<Song, SongRelease>;

// The song the player loads from the bytes, and what the tools would say about them.
struct Loaded {
    LoadedSong song;
    LoadReport refusal;
    std::optional<std::string> problem;
};

Loaded load(const std::vector<std::uint8_t>& bytes) {
    Loaded loaded;
    loaded.song.reset(loadSongFromMemory(bytes, &loaded.refusal));
    loaded.problem = tools::xmModuleProblem(bytes, loaded.refusal);
    return loaded;
}

// Runs the sequencer for TicksPlayed ticks and mixes a few frames of every voice after each,
// so that every note, effect and sample the damaged file sets up is played.
void play(Song& song) {
    resetPlayback(player, song);
    std::vector<float> mixed(2 * FramesPerTick);
    for (int tick = 0; tick < TicksPlayed; ++tick) {
        song.tickHandler(song);
        mixVoices(player.voices, mixed.data(), FramesPerTick);
    }
    player.currentSong = nullptr;
}

// The lengths a module is cut to: every one through the header and the first patterns, where
// each byte changes what the loader reads next, then a stride through the rest.
std::vector<std::size_t> cutLengths(std::size_t size) {
    constexpr std::size_t EveryByteUpTo = 1000;
    constexpr std::size_t Stride = 37;
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length < size; length += length < EveryByteUpTo ? 1 : Stride) {
        lengths.push_back(length);
    }
    return lengths;
}

// What the player refuses a module whose bytes are all there for: what the file says, never a
// shortage of memory or a stream that did not open.
bool refusedForTheFile(const LoadReport& refusal) {
    return refusal.reason == RefusalReason::NotXm ||
           refusal.reason == RefusalReason::TooManyChannels ||
           refusal.reason == RefusalReason::TooManyRows ||
           refusal.reason == RefusalReason::TooManySamples;
}

// The covering modules and the shipped tune, as omra-tune writes it (the content tests hold
// data/module.xm to that).
std::vector<NamedFile> modulesToDamage() {
    std::vector<NamedFile> modules = testing::coveringModules();
    modules.push_back({"shipped.xm", tools::writeXm(tools::tune::omraTune())});
    return modules;
}

class DamagedModule : public ::testing::TestWithParam<NamedFile> {};

TEST_P(DamagedModule, TheWholeModuleLoadsAndPlays) {
    const Loaded loaded = load(GetParam().bytes);
    EXPECT_EQ(loaded.problem, std::nullopt);
    ASSERT_NE(loaded.song, nullptr);
    play(*loaded.song);
}

TEST_P(DamagedModule, EveryCutLoadsWhatItHoldsAndPlaysOrLacksTheIdentification) {
    const std::vector<std::uint8_t>& whole = GetParam().bytes;
    for (const std::size_t length : cutLengths(whole.size())) {
        SCOPED_TRACE(::testing::Message() << "cut to " << length << " bytes");
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        const Loaded loaded = load(cut);
        // A cut module is not refused: what the file lacks reads as zeros. The tools refuse it.
        ASSERT_EQ(loaded.song != nullptr, length >= xm::IdBytes);
        ASSERT_TRUE(loaded.problem.has_value());
        if (length >= xm::IdBytes) {
            EXPECT_TRUE(loaded.problem->starts_with("truncated: ")) << *loaded.problem;
            play(*loaded.song);
        }
    }
}

// Every byte of the module header and the first patterns flipped, and every header field
// cleared: the module loads and plays, or it is refused for a reason the file gives.
TEST_P(DamagedModule, EveryHeaderByteFlippedOrClearedLoadsAndPlaysOrIsRefused) {
    constexpr std::size_t FlippedBytes = 600;
    const std::vector<std::uint8_t>& whole = GetParam().bytes;
    int refused = 0;
    for (std::size_t offset = 0; offset < std::min(whole.size(), FlippedBytes); ++offset) {
        for (const bool flip : {true, false}) {
            if (!flip && (offset >= xm::OrderTableOffset || whole[offset] == 0)) {
                continue;
            }
            std::vector<std::uint8_t> damaged = whole;
            damaged[offset] = flip ? static_cast<std::uint8_t>(~damaged[offset]) : 0;
            SCOPED_TRACE(::testing::Message()
                         << (flip ? "flipped" : "cleared") << " byte " << offset);
            const Loaded loaded = load(damaged);
            if (loaded.song == nullptr) {
                ++refused;
                EXPECT_TRUE(refusedForTheFile(loaded.refusal)) << loaded.problem.value_or("");
                continue;
            }
            play(*loaded.song);
        }
    }
    // At least the identification text's 17 bytes, flipped and cleared.
    EXPECT_GE(refused, 2 * xm::IdBytes);
}

// Named by file name without the extension, '-' written as '_'.
INSTANTIATE_TEST_SUITE_P(Modules, DamagedModule, ::testing::ValuesIn(modulesToDamage()),
                         [](const ::testing::TestParamInfo<NamedFile>& info) {
                             std::string name =
                                 info.param.name.substr(0, info.param.name.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace omra
