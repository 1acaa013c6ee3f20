#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace omra::capture {

// Regroups the capture's 16-bit stereo sound into the frames an audio encoder takes: its frame
// size each (the last one shorter), in its sample format (16-bit interleaved or float planar),
// stamped with their first sample's number.
class SoundFramer {
public:
    explicit SoundFramer(const AVCodecContext& encoder);
    ~SoundFramer();
    SoundFramer(const SoundFramer&) = delete;
    SoundFramer& operator=(const SoundFramer&) = delete;

    // Takes the sound and hands every whole frame it completes to `take`.
    void add(std::span<const std::int16_t> interleaved,
             const std::function<void(const AVFrame&)>& take);
    // Hands on what is left, as one shorter frame.
    void finish(const std::function<void(const AVFrame&)>& take);

private:
    void emit(std::size_t frames, const std::function<void(const AVFrame&)>& take);

    const AVCodecContext& encoder_;
    std::size_t frameSize_;
    std::vector<std::int16_t> pending_;
    std::int64_t nextSample_ = 0;
    AVFrame* frame_ = nullptr;
};

} // namespace omra::capture
