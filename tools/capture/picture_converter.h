#pragma once

#include "capture/picture.h"

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

struct SwsContext;

namespace omra::capture {

// Turns pictures into frames of an encoder's pixel format, of the same size. RGB formats get
// the pixels unchanged; YUV formats get BT.709 in studio range, as HD video is tagged.
class PictureConverter {
public:
    PictureConverter(int width, int height, AVPixelFormat format);
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // The picture in the target format, stamped `pts`; valid until the next call.
    const AVFrame* convert(const Picture& picture, std::int64_t pts);

private:
    SwsContext* scaler_ = nullptr;
    AVFrame* frame_ = nullptr;
};

} // namespace omra::capture
