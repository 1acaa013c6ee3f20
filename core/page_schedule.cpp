#include "core/page_schedule.h"

#include "core/glyph_cell.h"

namespace omra {

namespace {

constexpr std::int32_t OffScreenMargin = 256;
constexpr float SlideInEnd = 5.0f;
constexpr float HoldEnd = 10.0f;
constexpr float SlideOutEnd = 15.0f;
constexpr float CycleEnd = 18.0f;
constexpr float SlideSeconds = 5.0f;

const TextPage* pageFor(std::uint32_t pageIndex, const std::vector<TextPage>& pages) {
    return pages.empty() ? nullptr : &pages[pageIndex % static_cast<std::uint32_t>(pages.size())];
}

// A page of no width stands in when there are no pages.
std::int32_t currentPageWidth(const FrameState& state) {
    return state.currentPage != nullptr ? state.currentPage->width : 0;
}

} // namespace

PageGeometry pageGeometry(std::int32_t widthChars, std::int32_t viewportWidth) {
    const std::int32_t textPixels = GlyphWidth * widthChars;
    // Integer arithmetic first (the centre truncates toward zero), then each value to float.
    return PageGeometry{
        static_cast<float>(viewportWidth + OffScreenMargin),
        static_cast<float>((viewportWidth - textPixels) / 2),
        static_cast<float>(-textPixels - OffScreenMargin),
    };
}

float pageX(const PageGeometry& g, float t) {
    // The fraction of the slide is formed first, then scaled by the distance.
    if (t <= SlideInEnd) {
        return g.start - (g.start - g.centre) * (t / SlideSeconds);
    }
    if (t <= HoldEnd) {
        return g.centre;
    }
    if (t <= SlideOutEnd) {
        return g.centre - ((t - HoldEnd) / SlideSeconds) * (g.centre - g.exit);
    }
    return g.exit;
}

void advancePageSchedule(FrameState& state, float dt, const std::vector<TextPage>& pages) {
    state.pageTime += dt;
    const PageGeometry geometry = pageGeometry(currentPageWidth(state), state.viewportWidth);
    float x;
    if (state.pageTime <= CycleEnd) {
        x = pageX(geometry, state.pageTime);
    } else {
        // One switch per frame however long the frame was: the time past 18 s is dropped.
        state.pageIndex += 1;
        state.currentPage = pageFor(state.pageIndex, pages);
        state.pageTime = 0.0f;
        x = geometry.start;
    }
    state.pageXOffset = static_cast<std::int32_t>(x);
}

void placePagesAtFrame(FrameState& state, std::uint64_t frame, std::uint32_t framesPerSecond,
                       const std::vector<TextPage>& pages) {
    // The first step whose page time passes the cycle's end is the switch to the next page.
    const auto cycleFrames = static_cast<std::uint64_t>(CycleEnd) * framesPerSecond + 1;
    // The page counter wraps as the main loop's does.
    state.pageIndex = static_cast<std::uint32_t>(frame / cycleFrames);
    state.currentPage = pageFor(state.pageIndex, pages);
    state.pageTime = static_cast<float>(static_cast<double>(frame % cycleFrames) / framesPerSecond);
    const PageGeometry geometry = pageGeometry(currentPageWidth(state), state.viewportWidth);
    state.pageXOffset = static_cast<std::int32_t>(pageX(geometry, state.pageTime));
}

} // namespace omra
