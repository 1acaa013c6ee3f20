#include "capture/capture_output.h"

#include "capture/frame_folder.h"
#include "capture/media_file.h"

namespace omra::capture {

std::unique_ptr<CaptureOutput> openCaptureOutput(const CaptureOptions& options) {
    if (options.kind == OutputKind::Frames) {
        return std::make_unique<FrameFolder>(options);
    }
    return std::make_unique<MediaFile>(options);
}

} // namespace omra::capture
