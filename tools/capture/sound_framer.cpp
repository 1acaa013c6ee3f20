#include "capture/sound_framer.h"

#include "capture/av_check.h"

#include <cstring>
#include <stdexcept>

namespace omra::capture {

namespace {

constexpr int Channels = 2;
// For encoders that take frames of any size.
constexpr std::size_t AnyFrameSize = 1024;

} // namespace

SoundFramer::SoundFramer(const AVCodecContext& encoder)
    : encoder_(encoder),
      frameSize_(encoder.frame_size > 0 ? static_cast<std::size_t>(encoder.frame_size)
                                        : AnyFrameSize),
      frame_(av_frame_alloc()) {
    if (frame_ == nullptr) {
        throw std::runtime_error("out of memory for a sound frame");
    }
    if (encoder.sample_fmt != AV_SAMPLE_FMT_S16 && encoder.sample_fmt != AV_SAMPLE_FMT_FLTP) {
        av_frame_free(&frame_);
        throw std::runtime_error("an audio encoder that takes neither 16-bit nor float samples");
    }
}

SoundFramer::~SoundFramer() {
    av_frame_free(&frame_);
}

void SoundFramer::add(std::span<const std::int16_t> interleaved,
                      const std::function<void(const AVFrame&)>& take) {
    pending_.insert(pending_.end(), interleaved.begin(), interleaved.end());
    while (pending_.size() >= frameSize_ * Channels) {
        emit(frameSize_, take);
    }
}

void SoundFramer::finish(const std::function<void(const AVFrame&)>& take) {
    if (!pending_.empty()) {
        emit(pending_.size() / Channels, take);
    }
}

void SoundFramer::emit(std::size_t frames, const std::function<void(const AVFrame&)>& take) {
    av_frame_unref(frame_);
    frame_->format = encoder_.sample_fmt;
    frame_->nb_samples = static_cast<int>(frames);
    frame_->sample_rate = encoder_.sample_rate;
    avCheck(av_channel_layout_copy(&frame_->ch_layout, &encoder_.ch_layout), "a sound frame");
    avCheck(av_frame_get_buffer(frame_, 0), "allocating a sound frame");
    if (encoder_.sample_fmt == AV_SAMPLE_FMT_S16) {
        std::memcpy(frame_->data[0], pending_.data(), frames * Channels * sizeof(std::int16_t));
    } else {
        auto* left = reinterpret_cast<float*>(frame_->data[0]);
        auto* right = reinterpret_cast<float*>(frame_->data[1]);
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = pending_[2 * i] / 32768.0f;
            right[i] = pending_[2 * i + 1] / 32768.0f;
        }
    }
    frame_->pts = nextSample_;
    nextSample_ += static_cast<std::int64_t>(frames);
    pending_.erase(pending_.begin(),
                   pending_.begin() + static_cast<std::ptrdiff_t>(frames * Channels));
    take(*frame_);
}

} // namespace omra::capture
