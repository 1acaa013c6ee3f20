#pragma once

#include "capture/capture_output.h"
#include "capture/encoder.h"
#include "capture/picture_converter.h"
#include "common/files.h"
#include "xmrender/wav_writer.h"

#include <memory>

namespace omra::capture {

// A folder of PNG frames, frame-000000.png on, and the sound as sound.wav, for tools that take
// image sequences; it appears under its name when `finish` succeeds. The target must be new or
// an empty folder.
class FrameFolder : public CaptureOutput {
public:
    explicit FrameFolder(const CaptureOptions& options);

    void add(const Picture& picture, std::span<const std::int16_t> sound) override;
    void finish() override;

private:
    tools::AtomicFolder folder_;
    tools::WavWriter sound_;
    Encoder png_;
    PictureConverter converter_;
    std::int64_t frames_ = 0;
};

} // namespace omra::capture
