#pragma once

#include <functional>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace omra::capture {

// FFmpeg's encoder of that name ("libx264", "flac"). Throws std::runtime_error when this FFmpeg
// was built without it.
const AVCodec* findEncoder(const char* name);

// One opened encoder.
class Encoder {
public:
    // `configure` fills in the context (size, formats, time base, options) before it opens.
    // Throws std::runtime_error naming the encoder when it refuses the settings.
    Encoder(const AVCodec* codec, const std::function<void(AVCodecContext&)>& configure);
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    AVCodecContext& context() { return *context_; }
    const AVCodecContext& context() const { return *context_; }

    // Encodes `frame`, or with null drains what the encoder still holds at the end, and hands
    // every packet it has ready to `take`, in the encoder's time base.
    void encode(const AVFrame* frame, const std::function<void(AVPacket&)>& take);

private:
    AVCodecContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
};

} // namespace omra::capture
