#include "core/frame_advance.h"

#include <gtest/gtest.h>

namespace omra {
namespace {

TEST(FrameClock, StepsBySingleCounterDifferencesOverTheFrequency) {
    FrameClock clock;
    const std::int64_t start = (std::int64_t{1} << 40) + 12345;
    startFrameClock(clock, 1'000'000, start);
    EXPECT_EQ(advanceFrameClock(clock, start + 250'000), 0.25f);
    EXPECT_EQ(advanceFrameClock(clock, start + 250'000), 0.0f);
    EXPECT_EQ(advanceFrameClock(clock, start + 1'250'000), 1.0f);
    EXPECT_EQ(clock.lastCounter, start + 1'250'000);
}

TEST(FrameClock, DividesInSinglePrecision) {
    FrameClock clock;
    startFrameClock(clock, 3, 0);
    // 1 / 3 rounded once in single precision, not a rounded double.
    EXPECT_EQ(advanceFrameClock(clock, 1), 1.0f / 3.0f);
    startFrameClock(clock, 10'000'019, 0);
    const float expected = static_cast<float>(16'666'699.0) / static_cast<float>(10'000'019.0);
    EXPECT_EQ(advanceFrameClock(clock, 16'666'699), expected);
}

TEST(FrameAdvance, AdvancesSceneAndPageTimeTogetherAndPlacesThePage) {
    const std::vector<TextPage> pages{TextPage{"", 40, 1}};
    FrameState state;
    state.viewportWidth = 944;
    state.currentPage = &pages[0];
    FrameClock clock;
    startFrameClock(clock, 1000, 5000);
    advanceFrame(state, clock, 7500, pages);
    EXPECT_EQ(state.sceneTime, 2.5f);
    EXPECT_EQ(state.pageTime, 2.5f);
    EXPECT_EQ(state.pageXOffset, 756);

    // Past the page's 18 seconds the page time restarts, the scene time runs on.
    advanceFrame(state, clock, 7500 + 16000, pages);
    EXPECT_EQ(state.sceneTime, 18.5f);
    EXPECT_EQ(state.pageTime, 0.0f);
    EXPECT_EQ(state.pageXOffset, 1200);
}

} // namespace
} // namespace omra
