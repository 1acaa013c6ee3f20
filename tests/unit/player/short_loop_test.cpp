// Tiny loops from frame 0 at any pitch. A boundary is met every frame or so there, and the frames
// to it, counted at 24.8 precision, leave the position a hair short of the loop end: a wrap that
// then took the loop length off fell below frame 0 and could land on the same position for ever,
// so the audio thread never finished its block and the intro could not be ended.
#include "player/memory_file.h"
#include "player/player.h"
#include "records/mix_constants.h"
#include "xm/xm_writer.h"
#include "xmrender/offline_render.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace omra {
namespace {

constexpr std::uint8_t C5 = 61;
constexpr std::uint8_t GSharp5 = 69;
constexpr std::uint8_t D6 = 75;
constexpr std::uint8_t A6 = 82;
constexpr std::uint8_t A7 = 94;
constexpr std::uint64_t RenderedFrames = 3 * MixRate;

struct LoopCase {
    std::uint32_t loopLength;
    std::uint8_t loopType; // 1 forward, 2 ping-pong
    std::uint8_t note;
    std::int8_t finetune;
};

std::string describe(const LoopCase& c) {
    return std::to_string(c.loopLength) + "-frame " + (c.loopType == 1 ? "forward" : "ping-pong") +
           " loop, note " + std::to_string(c.note) + ", finetune " + std::to_string(c.finetune);
}

// Two channels; one 8-bit sample that is exactly its loop from frame 0, alternating +64 and -64;
// the note on row 0 at speed 6, 125 BPM, linear frequencies.
std::vector<std::uint8_t> loopModule(const LoopCase& c) {
    tools::XmSample sample;
    for (std::uint32_t i = 0; i < c.loopLength; ++i) {
        sample.frames.push_back(i % 2 == 0 ? 64 : -64);
    }
    sample.loopLength = c.loopLength;
    sample.loopType = c.loopType;
    sample.finetune = c.finetune;
    tools::XmInstrument instrument;
    instrument.samples = {sample};
    tools::XmModule module;
    module.orders = {0};
    module.patterns = {tools::emptyPattern(64, module.channels)};
    module.patterns[0].at(0, 0, module.channels) = {c.note, 1, 0, 0, 0};
    module.instruments = {instrument};
    return tools::writeXm(module);
}

struct Rendered {
    std::uint64_t frames = 0;
    bool soundsAtTheEnd = false; // the note, which nothing ends, is still heard in the last block
};

// Renders RenderedFrames of the module through the intro's player.
Rendered render(const std::vector<std::uint8_t>& bytes) {
    Song* song = loadSongFromMemory(bytes);
    if (song == nullptr) {
        return {};
    }
    tools::RenderPlan length;
    length.frames = RenderedFrames;
    Rendered rendered;
    tools::renderSong(
        *song, length,
        [&](std::span<const std::int16_t> pcm) {
            rendered.frames += pcm.size() / 2;
            rendered.soundsAtTheEnd =
                std::ranges::any_of(pcm, [](std::int16_t v) { return v != 0; });
        },
        [](std::uint64_t) {});
    freeSong(song);
    return rendered;
}

// A render that never ends cannot be stopped from outside its thread: after a generous wait,
// far beyond what the whole sweep takes, the case is named and the test process ends.
Rendered renderOrReportHang(const LoopCase& c) {
    std::packaged_task<Rendered()> task([&] { return render(loopModule(c)); });
    std::future<Rendered> result = task.get_future();
    std::thread worker(std::move(task));
    if (result.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        std::fprintf(stderr, "The player never finished rendering the %s\n", describe(c).c_str());
        std::_Exit(EXIT_FAILURE);
    }
    worker.join();
    return result.get();
}

TEST(ShortLoops, EveryLoopOfOneToEightFramesFromFrameZeroRendersToTheEndAtEveryPitch) {
    // Among these, D-6 on a one-frame forward loop and G#5 with finetune -24 on one of two
    // frames, as well as four more on one frame, used to hang.
    std::vector<LoopCase> cases;
    for (std::uint32_t length = 1; length <= 8; ++length) {
        for (const std::uint8_t type : {1, 2}) {
            for (const std::uint8_t note : {C5, GSharp5, D6, A6, A7}) {
                for (const std::int8_t finetune : {-24, 0, 37}) {
                    cases.push_back({length, type, note, finetune});
                }
            }
        }
    }
    for (const LoopCase& c : cases) {
        const Rendered rendered = renderOrReportHang(c);
        EXPECT_EQ(rendered.frames, RenderedFrames) << describe(c);
        EXPECT_TRUE(rendered.soundsAtTheEnd) << describe(c);
    }
}

} // namespace
} // namespace omra
