// Renders the intro's scene headless on Mesa's software rasteriser at the default window size.
// Prints, as rows of the figures table scripts/benchmarks.sh shows, how long the start takes,
// from creating the context to the first finished frame, and what a frame costs: the median
// time of a whole frame with the longest text page held in the centre and without, and the CPU
// time the main thread spends submitting one with the page. The details, 90th percentiles
// among them, go to stderr.
// Usage: omra_render_benchmark [FRAMES]
#include "assets/assets.h"
#include "benchmarks/table_row.h"
#include "common/files.h"
#include "core/frame_state.h"
#include "core/heap_retention.h"
#include "core/page_schedule.h"
#include "fakes/fake_pack_resource.h"
#include "fakes/fake_wave_device.h"
#include "player/player.h"
#include "render/frame.h"
#include "render/scene.h"
#include "shell/startup.h"
#include "support/headless_gl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<std::size_t>(share * static_cast<double>(samples.size() - 1))];
}

struct FrameFigures {
    double frameMedian;
    double submitCpuMedian;
};

FrameFigures measureFrames(int frames) {
    using namespace omra;
    std::vector<double> frameTimes, submitTimes, submitCpu;
    for (int i = 1; i <= frames; ++i) {
        frameState.sceneTime = static_cast<float>(i) / 60.0f;
        const Clock::time_point start = Clock::now();
        const double cpuStart = threadCpuMilliseconds();
        renderFrame();
        submitCpu.push_back(threadCpuMilliseconds() - cpuStart);
        submitTimes.push_back(millisecondsSince(start));
        headless::finish();
        frameTimes.push_back(millisecondsSince(start));
    }
    const FrameFigures figures{percentile(frameTimes, 0.5), percentile(submitCpu, 0.5)};
    std::fprintf(stderr, "  frame, median:             %8.2f ms  (90%%: %.2f ms)\n",
                 figures.frameMedian, percentile(frameTimes, 0.9));
    std::fprintf(stderr, "  submit, median wall time:  %8.2f ms  (90%%: %.2f ms)\n",
                 percentile(submitTimes, 0.5), percentile(submitTimes, 0.9));
    std::fprintf(stderr, "  submit, median thread CPU: %8.2f ms  (90%%: %.2f ms)\n",
                 figures.submitCpuMedian, percentile(submitCpu, 0.9));
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    using namespace omra;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    if (frames < 1) {
        std::fprintf(stderr, "usage: %s [FRAMES]\n", argv[0]);
        return 2;
    }
    keepFreedHeapMemory(); // as the intro does
    fake_pack_resource::pack = tools::readFile(OMRA_PACK_FILE);
    FakeWaveDevice device;
    setWaveDevice(&device);

    // The intro's start: a context, then the pack, the scene, the song and the music's pre-fill,
    // then the first frame, which compiles the shader variants.
    const Clock::time_point start = Clock::now();
    headless::openContext(headless::windowWidth(), headless::windowHeight());
    const double context = millisecondsSince(start);
    runStartup();
    headless::finish();
    const double startup = millisecondsSince(start) - context;
    renderFrame();
    headless::finish();
    const double toFirstFrame = millisecondsSince(start);

    std::fprintf(stderr, "window %dx%d, %d frames at 60 scene frames per second\n",
                 headless::windowWidth(), headless::windowHeight(), frames);
    std::fprintf(stderr, "context:                   %8.2f ms\n", context);
    std::fprintf(stderr, "start-up (pack, scene, music pre-fill): %.2f ms\n", startup);
    std::fprintf(stderr, "start to first frame:      %8.2f ms\n", toFirstFrame);
    // The longest page held in the centre, then no page at all: what the page's glyphs cost.
    const auto longest = std::max_element(
        assets.pages.begin(), assets.pages.end(),
        [](const TextPage& a, const TextPage& b) { return a.text.size() < b.text.size(); });
    frameState.currentPage = &*longest;
    frameState.pageXOffset =
        static_cast<std::int32_t>(pageGeometry(longest->width, frameState.viewportWidth).centre);
    std::fprintf(stderr, "with a page of %zu bytes in the centre:\n", longest->text.size());
    const FrameFigures withPage = measureFrames(frames);
    frameState.currentPage = nullptr;
    std::fprintf(stderr, "without a page:\n");
    const FrameFigures withoutPage = measureFrames(frames);
    stopMusic();
    releaseScene();
    setWaveDevice(nullptr);

    using benchmark::printFigureRow, benchmark::Target;
    printFigureRow("scene, headless: context creation to first frame", toFirstFrame, "ms",
                   Target::none());
    printFigureRow("scene: frame, median, longest page held", withPage.frameMedian, "ms",
                   Target::atMost(16.7));
    printFigureRow("scene: frame, median, no page", withoutPage.frameMedian, "ms",
                   Target::atMost(16.7));
    printFigureRow("scene: main thread CPU per frame, longest page", withPage.submitCpuMedian, "ms",
                   Target::none());
    return 0;
}
