#include "player/mix_constants.h"
#include "player/player_state.h"
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

Rendered render(const std::vector<std::int32_t>& path, RenderLength length) {
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
    RenderLength length;
    length.passLimitFrames = 60 * MixRate;
    const Rendered rendered = render({0, 1, 2, 1}, length);
    EXPECT_TRUE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 12u * 882u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

TEST(OfflineRender, StayingOnOnePositionIsNotComingBack) {
    // Rows repeated inside one position (as a pattern loop does) never end the pass.
    RenderLength length;
    length.passLimitFrames = 5 * BlockFrames + 17;
    const Rendered rendered = render({0}, length);
    EXPECT_FALSE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 5u * BlockFrames + 17u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

TEST(OfflineRender, AFixedLengthIgnoresTheLoopPoint) {
    RenderLength length;
    length.frames = 40 * 882 + 3;
    const Rendered rendered = render({0, 1, 0}, length);
    EXPECT_FALSE(rendered.result.cameBack);
    EXPECT_EQ(rendered.result.frames, 40u * 882u + 3u);
    EXPECT_EQ(rendered.framesDelivered, rendered.result.frames);
}

} // namespace
} // namespace omra::tools
