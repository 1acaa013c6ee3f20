#include "core/page_schedule.h"

#include <gtest/gtest.h>

namespace omra {
namespace {

std::vector<TextPage> pagesOfWidths(std::initializer_list<std::int32_t> widths) {
    std::vector<TextPage> pages;
    for (const std::int32_t width : widths) {
        pages.push_back(TextPage{"", width, 1});
    }
    return pages;
}

// A schedule on a viewport of the given width, showing the first page from time 0.
FrameState scheduleOn(std::int32_t viewportWidth, const std::vector<TextPage>& pages) {
    FrameState state;
    state.viewportWidth = viewportWidth;
    state.currentPage = pages.empty() ? nullptr : &pages.front();
    return state;
}

TEST(PageSchedule, MovesAFortyCharacterPageThroughEveryPhase) {
    const std::vector<TextPage> pages = pagesOfWidths({40, 10});
    FrameState state = scheduleOn(944, pages);
    const PageGeometry geometry = pageGeometry(40, 944);
    EXPECT_EQ(geometry.start, 1200.0f);
    EXPECT_EQ(geometry.centre, 312.0f);
    EXPECT_EQ(geometry.exit, -576.0f);

    // Time steps that land exactly on the phase bounds.
    const struct {
        float dt;
        std::int32_t offset;
    } steps[] = {{2.5f, 756},  {2.5f, 312},  {2.5f, 312},  {2.5f, 312},  {2.5f, -132},
                 {2.5f, -576}, {1.5f, -576}, {1.5f, -576}, {0.25f, 1200}};
    float expectedTime = 0.0f;
    for (const auto& step : steps) {
        advancePageSchedule(state, step.dt, pages);
        expectedTime += step.dt;
        EXPECT_EQ(state.pageXOffset, step.offset) << "at page time " << expectedTime;
    }
    // The frame past 18 s starts the next page at page time 0, whatever its width.
    EXPECT_EQ(state.pageTime, 0.0f);
    EXPECT_EQ(state.pageIndex, 1u);
    EXPECT_EQ(state.currentPage, &pages[1]);
}

TEST(PageSchedule, EachPhaseBoundBelongsToTheEarlierPhase) {
    const PageGeometry geometry = pageGeometry(40, 944);
    EXPECT_EQ(pageX(geometry, 0.0f), 1200.0f);
    EXPECT_EQ(pageX(geometry, 5.0f), 312.0f);
    EXPECT_EQ(pageX(geometry, 10.0f), 312.0f);
    EXPECT_EQ(pageX(geometry, 15.0f), -576.0f);
    EXPECT_EQ(pageX(geometry, 18.0f), -576.0f);
    // Just inside the slide-out phase the page has already begun to move.
    EXPECT_LT(pageX(geometry, 10.001f), 312.0f);
}

TEST(PageSchedule, CentresByTruncatingTowardZero) {
    EXPECT_EQ(pageGeometry(5, 47).centre, 3.0f);  // 47 - 40 = 7
    EXPECT_EQ(pageGeometry(5, 33).centre, -3.0f); // 33 - 40 = -7
}

TEST(PageSchedule, HoldsAPageWiderThanTheViewportOverlappingBothEdges) {
    const std::vector<TextPage> pages = pagesOfWidths({200});
    FrameState state = scheduleOn(944, pages);
    advancePageSchedule(state, 7.0f, pages);
    EXPECT_EQ(state.pageXOffset, -328); // (944 - 1600) / 2
    EXPECT_EQ(pageGeometry(200, 944).exit, -1856.0f);
}

TEST(PageSchedule, TruncatesTheOffsetTowardZero) {
    const std::vector<TextPage> pages = pagesOfWidths({40});
    FrameState state = scheduleOn(944, pages);
    advancePageSchedule(state, 12.6f, pages); // about -149.76, truncated to -149
    EXPECT_EQ(state.pageXOffset, -149);
    FrameState entering = scheduleOn(944, pages);
    advancePageSchedule(entering, 0.1f, pages); // about 1182.24
    EXPECT_EQ(entering.pageXOffset, 1182);
}

TEST(PageSchedule, ALongStallSwitchesExactlyOnceAndDropsTheRest) {
    const std::vector<TextPage> pages = pagesOfWidths({40, 20, 30});
    FrameState state = scheduleOn(944, pages);
    advancePageSchedule(state, 17.0f, pages);
    advancePageSchedule(state, 45.0f, pages); // a window move blocked the loop for 45 s
    EXPECT_EQ(state.pageIndex, 1u);
    EXPECT_EQ(state.currentPage, &pages[1]);
    EXPECT_EQ(state.pageTime, 0.0f);
    EXPECT_EQ(state.pageXOffset, 1200);
    advancePageSchedule(state, 0.5f, pages);
    EXPECT_EQ(state.pageIndex, 1u);
    EXPECT_EQ(state.pageTime, 0.5f);
}

TEST(PageSchedule, CyclesThroughThePagesInOrder) {
    const std::vector<TextPage> pages = pagesOfWidths({1, 2, 3, 4});
    FrameState state = scheduleOn(944, pages);
    std::vector<std::int32_t> shown{state.currentPage->width};
    for (int i = 0; i < 5; ++i) {
        advancePageSchedule(state, 18.5f, pages);
        shown.push_back(state.currentPage->width);
    }
    EXPECT_EQ(shown, (std::vector<std::int32_t>{1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(state.pageIndex, 5u);
}

TEST(PageSchedule, RunsWithoutPages) {
    const std::vector<TextPage> none;
    FrameState state = scheduleOn(944, none);
    advancePageSchedule(state, 2.5f, none);
    EXPECT_EQ(state.pageXOffset, 836); // as a page of width 0: 1200 - (1200 - 472) / 2
    advancePageSchedule(state, 20.0f, none);
    EXPECT_EQ(state.currentPage, nullptr);
    EXPECT_EQ(state.pageIndex, 1u);
    EXPECT_EQ(state.pageXOffset, 1200);
}

} // namespace
} // namespace omra
