#include "capture/lockstep.h"

#include "records/mix_constants.h"
#include "xmrender/offline_render.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace omra::capture {

namespace {

constexpr std::size_t Channels = 2;

} // namespace

std::uint64_t measurePass(Song& song, const std::function<void()>& poll) {
    tools::RenderPlan length;
    length.passLimitFrames = tools::PassLimitSeconds * MixRate;
    return tools::renderSong(
               song, length, [](std::span<const std::int16_t>) {}, [&](std::uint64_t) { poll(); })
        .frames;
}

void captureInLockstep(const CapturePlan& plan, Song& song, FrameGrabber& grabber,
                       CaptureOutput& output, const std::function<void(std::uint64_t)>& progress) {
    const std::uint64_t firstSample = plan.soundStart(plan.firstFrame);
    std::uint64_t mixed = 0; // samples the player has handed over
    std::vector<std::int16_t> pending;
    std::uint64_t next = plan.firstFrame;
    tools::RenderPlan length;
    length.frames = plan.soundStart(plan.endFrame);
    tools::renderSong(
        song, length,
        [&](std::span<const std::int16_t> pcm) {
            const std::uint64_t samples = pcm.size() / Channels;
            const std::uint64_t skip =
                firstSample > mixed ? std::min(firstSample - mixed, samples) : 0;
            pending.insert(pending.end(),
                           pcm.begin() + static_cast<std::ptrdiff_t>(skip * Channels), pcm.end());
            mixed += samples;
            while (next < plan.endFrame) {
                const std::size_t frameSound =
                    Channels * (plan.soundStart(next + 1) - plan.soundStart(next));
                if (pending.size() < frameSound) {
                    break;
                }
                output.add(grabber.grab(next, plan.fps), {pending.data(), frameSound});
                pending.erase(pending.begin(),
                              pending.begin() + static_cast<std::ptrdiff_t>(frameSound));
                ++next;
                progress(next - plan.firstFrame);
            }
        },
        [&](std::uint64_t) { progress(next - plan.firstFrame); });
    if (next != plan.endFrame || !pending.empty()) {
        throw std::logic_error("the sound and the frames came apart");
    }
}

} // namespace omra::capture
