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

// At 64 frames a second every step is exact in binary, so the main loop stepped one frame at a
// time and the steady-rate state worked out directly must agree frame for frame, switches too.
TEST(FrameAdvance, SteadyRateAgreesWithTheMainLoopSteppedFrameByFrame) {
    const std::vector<TextPage> pages{TextPage{"", 40, 1}, TextPage{"", 10, 1},
                                      TextPage{"", 90, 1}};
    constexpr std::uint32_t Fps = 64;
    FrameState stepped;
    stepped.viewportWidth = 944;
    stepped.currentPage = &pages[0];
    FrameClock clock;
    startFrameClock(clock, Fps, 0);
    FrameState direct = stepped;
    for (std::uint64_t frame = 1; frame <= 4 * (18 * Fps + 1) + 5; ++frame) {
        advanceFrame(stepped, clock, static_cast<std::int64_t>(frame), pages);
        setFrameAtSteadyRate(direct, frame, Fps, pages);
        ASSERT_EQ(direct.sceneTime, stepped.sceneTime) << "frame " << frame;
        ASSERT_EQ(direct.pageTime, stepped.pageTime) << "frame " << frame;
        ASSERT_EQ(direct.pageIndex, stepped.pageIndex) << "frame " << frame;
        ASSERT_EQ(direct.currentPage, stepped.currentPage) << "frame " << frame;
        ASSERT_EQ(direct.pageXOffset, stepped.pageXOffset) << "frame " << frame;
    }
}

TEST(FrameAdvance, SteadyRateHoldsEachPageForEighteenSecondsAndOneFrame) {
    const std::vector<TextPage> pages{TextPage{"", 40, 1}, TextPage{"", 10, 1}};
    FrameState state;
    state.viewportWidth = 944;
    const struct {
        std::uint64_t frame;
        std::uint32_t pageIndex;
        std::int32_t offset;
    } rows[] = {{0, 0, 1200},    {150, 0, 756},   {1080, 0, -576},
                {1081, 1, 1200}, {2162, 2, 1200}, {2162 + 300, 2, 312}};
    for (const auto& row : rows) {
        setFrameAtSteadyRate(state, row.frame, 60, pages);
        EXPECT_EQ(state.pageIndex, row.pageIndex) << "frame " << row.frame;
        EXPECT_EQ(state.currentPage, &pages[row.pageIndex % 2]) << "frame " << row.frame;
        EXPECT_EQ(state.pageXOffset, row.offset) << "frame " << row.frame;
        EXPECT_EQ(state.sceneTime, static_cast<float>(row.frame / 60.0)) << "frame " << row.frame;
    }
}

} // namespace
} // namespace omra
