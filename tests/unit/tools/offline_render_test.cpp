#include "player/memory_file.h"
#include "player/player.h"
#include "records/mix_constants.h"
#include "records/player_state.h"
#include "xm/xm_writer.h"
#include "xmrender/offline_render.h"

#include <gtest/gtest.h>

namespace omra::tools {
namespace {

// A stand-in for the sequencer: counts ticks and moves through the order positions it is
// given, one position every four ticks.
std::vector<std::int32_t> orderPath;
int ticks = 0;
void walkOrders(Song& song) {
    const int step = ticks++ / 4;
    song.orderPosition = orderPath[static_cast<std::size_t>(step) % orderPath.size()];
}

struct Rendered {
    RenderResult result;
    std::uint64_t framesDelivered = 0;
};

Rendered render(const std::vector<std::int32_t>& path, RenderPlan length) {
    orderPath = path;
    ticks = 0;
    Song song;
    song.defaultBpm = 125; // 882 frames per tick
    song.defaultSpeed = 6;
    song.tickHandler = walkOrders;
    Rendered rendered;
    rendered.result = renderSong(
        song, length,
        [&](std::span<const std::int16_t> pcm) { rendered.framesDelivered += pcm.size() / 2; },
        [](std::uint64_t) {});
    EXPECT_EQ(song.tickHandler, walkOrders) << "the song's own tick handler is put back";
    EXPECT_EQ(player.currentSong, nullptr);
    return rendered;
}

TEST(OfflineRender, OnePassEndsAtTheTickThatComesBackToAPlayedPosition) {
    // Positions 0, 1, 2, then back to 1: the pass ends where the 13th tick starts.
    RenderPlan length;
    length.passLimitFrames = 60 * MixRate;
    const Rendered rendered = render({0, 1, 2, 1}, length);
    EXPECT_TRUE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 12u * 882u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

TEST(OfflineRender, EveryPassEndsAtItsOwnFirstReturn) {
    // 0, 1, 2, back to 1 ends the first pass; the second has played only 1 when it goes on to
    // 0 and ends on coming back to 1, at the 21st tick.
    RenderPlan length;
    length.passes = 2;
    length.passLimitFrames = 60 * MixRate;
    const Rendered rendered = render({0, 1, 2, 1}, length);
    EXPECT_TRUE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 20u * 882u);
}

TEST(OfflineRender, StayingOnOnePositionIsNotComingBack) {
    // Rows repeated inside one position (as a pattern loop does) never end the pass.
    RenderPlan length;
    length.passLimitFrames = 5 * BlockFrames + 17;
    const Rendered rendered = render({0}, length);
    EXPECT_FALSE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 5u * BlockFrames + 17u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

TEST(OfflineRender, AFixedLengthIgnoresTheLoopPoint) {
    RenderPlan length;
    length.frames = 40 * 882 + 3;
    const Rendered rendered = render({0, 1, 0}, length);
    EXPECT_FALSE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 40u * 882u + 3u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

TEST(OfflineRender, OnePassOfARealSongEndsAtItsFirstReturnHoweverItGetsThere) {
    constexpr std::uint64_t FramesPerRow = 6 * 882; // speed 6 at 125 BPM
    struct Case {
        const char* what;
        std::vector<std::uint8_t> orders;
        std::vector<XmCell> firstChannel; // rows of the last pattern; the others are 4 empty rows
        std::uint64_t rows;
        std::int32_t start = 0;
    };
    const Case cases[] = {
        {"one position, restarting on itself", {0}, {{}, {}, {}, {}}, 4},
        {"a jump to the position playing", {0, 1}, {{}, {0, 0, 0, 0x0B, 1}, {}, {}}, 4 + 2},
        // Rows 0, 1, 0, 1, 0, 1, 2, 3: looping inside a pattern is not a return.
        {"a pattern loop", {0}, {{0, 0, 0, 0x0E, 0x60}, {0, 0, 0, 0x0E, 0x62}, {}, {}}, 8},
        // From order 1 the jump back to it comes after 4 + 2 rows, not 4 + 4 + 2.
        {"a start at order 1", {0, 1, 2}, {{}, {0, 0, 0, 0x0B, 1}, {}, {}}, 4 + 2, 1},
    };
    for (const Case& c : cases) {
        XmModule module;
        module.orders = c.orders;
        module.patterns.assign(c.orders.size(), emptyPattern(4, module.channels));
        for (int row = 0; row < 4; ++row) {
            module.patterns.back().at(row, 0, module.channels) = c.firstChannel[row];
        }
        const std::vector<std::uint8_t> bytes = writeXm(module);
        Song* song = loadSongFromMemory(bytes);
        ASSERT_NE(song, nullptr) << c.what;
        RenderPlan length;
        length.passLimitFrames = 60 * MixRate;
        length.startOrder = c.start;
        const RenderResult result = renderSong(
            *song, length, [](std::span<const std::int16_t>) {}, [](std::uint64_t) {});
        freeSong(song);
        EXPECT_TRUE(result.cameBack) << c.what;
        EXPECT_EQ(result.frames, c.rows * FramesPerRow) << c.what;
    }
}

} // namespace
} // namespace omra::tools
