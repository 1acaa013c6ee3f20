#include "records/player_state.h"
#include "xmrender/tick_log.h"

#include <gtest/gtest.h>

namespace omra::tools {
namespace {

// Past its capacity the log keeps the latest ticks: a frame finds the tick that holds it, and a
// frame from before the oldest kept tick finds none rather than a wrong one.
TEST(TickLog, FindsTheTickHoldingAFrameAfterItHasWrapped) {
    TickLog log;
    constexpr std::uint64_t Ticks = TickLog::Capacity + 1000;
    for (std::uint64_t tick = 0; tick < Ticks; ++tick) {
        log.record({.startFrame = tick * 882, .row = static_cast<std::int32_t>(tick)});
    }
    for (const std::uint64_t tick : {Ticks - TickLog::Capacity, Ticks - 2, Ticks - 1}) {
        ASSERT_TRUE(log.at(tick * 882 + 881).has_value()) << tick;
        EXPECT_EQ(log.at(tick * 882).value().row, static_cast<std::int32_t>(tick));
        EXPECT_EQ(log.at(tick * 882 + 881).value().row, static_cast<std::int32_t>(tick));
    }
    EXPECT_FALSE(log.at((Ticks - TickLog::Capacity) * 882 - 1).has_value());
    log.clear();
    EXPECT_FALSE(log.at(Ticks * 882).has_value());
}

// A tick that leaves channel 1's note sounding at centre, channel 2's idle voice with gains, and
// channel 3's old note fading out on the right.
void tickSettingVoices(Song&) {
    static const Sample sample{};
    player.voices[1] = {.sample = &sample, .gainLeft = 40, .gainRight = 40};
    player.voices[2] = {.gainLeft = 200, .gainRight = 200};
    player.voices[3 + xm::MaxChannels] = {.sample = &sample, .gainLeft = 0, .gainRight = 255};
}

// A channel's level is what its two voices, the playing note and the one fading out, sound;
// an idle voice sounds nothing, whatever its gains.
TEST(TickLog, RecordsEachChannelsLevelFromTheVoicesThatSound) {
    Song song;
    song.tickHandler = tickSettingVoices;
    TickLog log;
    observeTicks(song, log, 0);
    song.tickHandler(song);
    stopObserving(song);
    player.voices = {};
    const std::array<std::uint8_t, xm::MaxChannels> levels = log.at(0).value().levels;
    EXPECT_EQ(levels[0], 0);
    EXPECT_EQ(levels[1], 80);
    EXPECT_EQ(levels[2], 0);
    EXPECT_EQ(levels[3], 255);
}

} // namespace
} // namespace omra::tools
