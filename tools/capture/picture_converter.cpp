#include "capture/picture_converter.h"

#include "capture/av_check.h"

#include <stdexcept>

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace omra::capture {

PictureConverter::PictureConverter(int width, int height, AVPixelFormat format) {
    // Full-resolution chroma input keeps the colours of one-pixel details (the scan lines, the
    // page glyphs) from bleeding before the encoder subsamples them.
    scaler_ = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, format,
                             SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr,
                             nullptr);
    frame_ = av_frame_alloc();
    if (scaler_ == nullptr || frame_ == nullptr) {
        sws_freeContext(scaler_);
        av_frame_free(&frame_);
        throw std::runtime_error(std::string("cannot convert pictures to ") +
                                 av_get_pix_fmt_name(format));
    }
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if ((descriptor->flags & AV_PIX_FMT_FLAG_RGB) == 0) {
        const int fullRange = 1, studioRange = 0;
        sws_setColorspaceDetails(scaler_, sws_getCoefficients(SWS_CS_ITU709), fullRange,
                                 sws_getCoefficients(SWS_CS_ITU709), studioRange, 0, 1 << 16,
                                 1 << 16);
    }
    frame_->format = format;
    frame_->width = width;
    frame_->height = height;
    try {
        avCheck(av_frame_get_buffer(frame_, 0), "allocating a video frame");
    } catch (...) {
        sws_freeContext(scaler_);
        av_frame_free(&frame_);
        throw;
    }
}

PictureConverter::~PictureConverter() {
    sws_freeContext(scaler_);
    av_frame_free(&frame_);
}

const AVFrame* PictureConverter::convert(const Picture& picture, std::int64_t pts) {
    // The encoder may still hold the previous frame's pixels.
    avCheck(av_frame_make_writable(frame_), "allocating a video frame");
    const std::uint8_t* source[] = {picture.rgba.data()};
    const int sourceStride[] = {picture.width * 4};
    sws_scale(scaler_, source, sourceStride, 0, picture.height, frame_->data, frame_->linesize);
    frame_->pts = pts;
    return frame_;
}

} // namespace omra::capture
