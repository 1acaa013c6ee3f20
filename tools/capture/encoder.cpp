#include "capture/encoder.h"

#include "capture/av_check.h"

#include <stdexcept>
#include <string>

namespace omra::capture {

const AVCodec* findEncoder(const char* name) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (codec == nullptr) {
        throw std::runtime_error(std::string("this FFmpeg has no ") + name + " encoder");
    }
    return codec;
}

Encoder::Encoder(const AVCodec* codec, const std::function<void(AVCodecContext&)>& configure) {
    context_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    if (context_ == nullptr || packet_ == nullptr) {
        avcodec_free_context(&context_);
        av_packet_free(&packet_);
        throw std::runtime_error(std::string("out of memory for the ") + codec->name + " encoder");
    }
    try {
        configure(*context_);
        avCheck(avcodec_open2(context_, codec, nullptr), std::string("opening ") + codec->name);
    } catch (...) {
        avcodec_free_context(&context_);
        av_packet_free(&packet_);
        throw;
    }
}

Encoder::~Encoder() {
    avcodec_free_context(&context_);
    av_packet_free(&packet_);
}

void Encoder::encode(const AVFrame* frame, const std::function<void(AVPacket&)>& take) {
    const std::string name = context_->codec->name;
    avCheck(avcodec_send_frame(context_, frame), name + " encoding");
    for (;;) {
        const int result = avcodec_receive_packet(context_, packet_);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            return;
        }
        avCheck(result, name + " encoding");
        take(*packet_);
        av_packet_unref(packet_);
    }
}

} // namespace omra::capture
