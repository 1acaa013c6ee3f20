#pragma once

#include "capture/capture_output.h"
#include "capture/encoder.h"
#include "capture/picture_converter.h"
#include "capture/sound_framer.h"
#include "common/files.h"

#include <memory>

struct AVFormatContext;
struct AVIOContext;
struct AVStream;

namespace omra::capture {

// A video file with one picture and one sound stream: H.264 in yuv420p with AAC in MP4, or
// lossless FFV1 (RGB, as drawn) with FLAC in Matroska. Written through a temporary file beside
// the target, which replaces the target when `finish` succeeds.
class MediaFile : public CaptureOutput {
public:
    explicit MediaFile(const CaptureOptions& options);

    void add(const Picture& picture, std::span<const std::int16_t> sound) override;
    void finish() override;

private:
    void write(AVPacket& packet, const Encoder& encoder, const AVStream& stream);
    void encodeSound(const AVFrame* frame);

    struct IoRelease {
        void operator()(AVIOContext* io) const;
    };
    struct MuxerRelease {
        void operator()(AVFormatContext* muxer) const;
    };

    tools::AtomicFile file_;
    std::unique_ptr<AVIOContext, IoRelease> io_;
    std::unique_ptr<AVFormatContext, MuxerRelease> muxer_;
    std::unique_ptr<Encoder> video_;
    std::unique_ptr<Encoder> sound_;
    AVStream* videoStream_ = nullptr;
    AVStream* soundStream_ = nullptr;
    std::unique_ptr<PictureConverter> converter_;
    std::unique_ptr<SoundFramer> framer_;
    std::int64_t frames_ = 0;
};

} // namespace omra::capture
