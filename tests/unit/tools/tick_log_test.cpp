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

} // namespace
} // namespace omra::tools
