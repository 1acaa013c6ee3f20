#include "capture/frame_folder.h"

#include <cstdio>

namespace omra::capture {

namespace {

std::string frameName(std::int64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frame));
    return name;
}

} // namespace

FrameFolder::FrameFolder(const CaptureOptions& options)
    : folder_(options.output), sound_(folder_.path() / "sound.wav"),
      png_(findEncoder("png"),
           [&](AVCodecContext& context) {
               context.width = options.outputWidth();
               context.height = options.outputHeight();
               context.pix_fmt = AV_PIX_FMT_RGB24;
               context.time_base = AVRational{1, static_cast<int>(options.fps)};
           }),
      converter_(options.outputWidth(), options.outputHeight(), AV_PIX_FMT_RGB24) {}

void FrameFolder::add(const Picture& picture, std::span<const std::int16_t> sound) {
    const std::filesystem::path path = folder_.path() / frameName(frames_);
    png_.encode(converter_.convert(picture, frames_), [&](AVPacket& packet) {
        tools::writeFileAtomically(path, {packet.data, static_cast<std::size_t>(packet.size)});
    });
    ++frames_;
    sound_.write(sound);
}

void FrameFolder::finish() {
    sound_.finish();
    folder_.commit();
}

} // namespace omra::capture
