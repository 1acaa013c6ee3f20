// omra-capture: renders the intro offline, headless, at a fixed frame rate with its exact sound,
// into a video file or a folder of frames.
#include "assets/assets.h"
#include "capture/capture_options.h"
#include "capture/capture_output.h"
#include "capture/capture_plan.h"
#include "capture/frame_grabber.h"
#include "capture/lockstep.h"
#include "capture/progress_line.h"
#include "common/clock_time.h"
#include "common/command_line.h"
#include "common/stop_signals.h"
#include "core/heap_retention.h"
#include "records/mix_constants.h"
#include "xmrender/loaded_song.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using namespace omra;
using namespace omra::capture;

constexpr const char* Usage =
    "usage: omra-capture [options] OUT.mp4\n"
    "       omra-capture [options] OUT.mkv\n"
    "       omra-capture [options] --frames DIR\n"
    "\n"
    "Renders the intro offline at a fixed frame rate, with the sound its player makes, into\n"
    "H.264 and AAC (OUT.mp4, for video sites), lossless FFV1 and FLAC (OUT.mkv, for editing\n"
    "and archives), or PNG frames frame-000000.png... and sound.wav in a new folder DIR.\n"
    "No display or sound device is needed.\n"
    "  --fps N        frames per second, 1 to 1000 (default 60)\n"
    "  --seconds S    length of the capture (default: one pass of the tune, to its loop point)\n"
    "  --start S      begin S seconds in, at the frame nearest S (default 0)\n"
    "  --scale K      enlarge every pixel to K x K, 1 to 8: --scale 2 makes 1920x1080\n"
    "  --size WxH     draw the scene at W x H pixels instead of 960x540\n"
    "  --help         show this help\n"
    "Frame k shows the intro at k / fps seconds; its sound is the samples from\n"
    "k * 44100 / fps up to the next frame's. The output appears under its name only once it\n"
    "is complete; an error or Ctrl-C leaves nothing behind.\n";

const char* formatName(OutputKind kind) {
    switch (kind) {
    case OutputKind::Mp4:
        return "H.264 + AAC";
    case OutputKind::Mkv:
        return "FFV1 + FLAC";
    case OutputKind::Frames:
        return "PNG frames + WAV";
    }
    return "";
}

std::string describe(const CaptureOptions& options, const CapturePlan& plan) {
    return options.output + ": " + std::to_string(plan.frames()) + " frames, " +
           tools::clockTime(static_cast<double>(plan.frames()) / plan.fps) + " at " +
           std::to_string(plan.fps) + " fps, " + std::to_string(options.outputWidth()) + "x" +
           std::to_string(options.outputHeight()) + ", " + formatName(options.kind);
}

void capture(const CaptureOptions& options) {
    keepFreedHeapMemory();
    // FFmpeg's own reports of each encoder's settings and statistics would bury the progress.
    av_log_set_level(AV_LOG_ERROR);
    const std::unique_ptr<CaptureOutput> output = openCaptureOutput(options);
    FrameGrabber grabber(options.sceneWidth, options.sceneHeight, options.scale);
    const tools::LoadedSong song = tools::loadModule(assets.moduleBytes, "the intro's module");
    std::optional<std::uint64_t> pass;
    if (!options.seconds) {
        pass = measurePass(*song, tools::stopIfAsked);
    }
    const CapturePlan plan = planCapture(options, pass);
    std::fprintf(stderr, "%s\n", describe(options, plan).c_str());
    ProgressLine progress(plan.frames());
    captureInLockstep(plan, *song, grabber, *output, [&](std::uint64_t done) {
        tools::stopIfAsked();
        progress.update(done);
    });
    output->finish();
    char rate[64];
    std::snprintf(rate, sizeof rate, ", %.1f frames/s", progress.rate(plan.frames()));
    progress.finish(options.output + ": written" + rate);
}

int run(int argc, char** argv) {
    const CaptureOptions options = parseCaptureOptions(argc, argv);
    tools::stopOnSignals();
    capture(options);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-capture", Usage, argc, argv, run);
}
