#include "capture/frame_grabber.h"

#include "assets/assets.h"
#include "core/frame_advance.h"
#include "core/frame_state.h"
#include "core/gl_context.h"
#include "core/gl_function_table.h"
#include "headless/headless_context_egl.h"
#include "render/frame.h"
#include "render/scene.h"
#include "render/scene_setup.h"

#include <cstring>
#include <stdexcept>

namespace omra::capture {

namespace {

// glReadPixels is no part of the intro's function table; the capture alone reads the window.
PFNGLREADPIXELSPROC readPixelsEntryPoint() {
    const auto readPixels =
        reinterpret_cast<PFNGLREADPIXELSPROC>(headless_egl::entryPoint("glReadPixels"));
    if (readPixels == nullptr) {
        throw std::runtime_error("headless OpenGL: no glReadPixels");
    }
    return readPixels;
}

// OpenGL hands the rows over bottom first; each scene pixel becomes a scale × scale block.
void enlargeUpright(const std::vector<std::uint8_t>& window, int width, int height, int scale,
                    Picture& picture) {
    const std::size_t outRowBytes = static_cast<std::size_t>(picture.width) * 4;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in =
            window.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* out = picture.rgba.data() + static_cast<std::size_t>(y) * scale * outRowBytes;
        for (int x = 0; x < width; ++x) {
            for (int copy = 0; copy < scale; ++copy) {
                std::memcpy(out + (static_cast<std::size_t>(x) * scale + copy) * 4, in + x * 4, 4);
            }
        }
        for (int copy = 1; copy < scale; ++copy) {
            std::memcpy(out + copy * outRowBytes, out, outRowBytes);
        }
    }
}

} // namespace

FrameGrabber::FrameGrabber(int sceneWidth, int sceneHeight, int scale) : scale_(scale) {
    headless_egl::openContext(sceneWidth, sceneHeight);
    loadAssets();
    setupScene();
    readPixels_ = readPixelsEntryPoint();
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    window_.resize(static_cast<std::size_t>(sceneWidth) * sceneHeight * 4);
    picture_.width = sceneWidth * scale;
    picture_.height = sceneHeight * scale;
    picture_.rgba.resize(static_cast<std::size_t>(picture_.width) * picture_.height * 4);
}

FrameGrabber::~FrameGrabber() {
    releaseScene();
    deleteRenderingContext();
    releaseGlLibrary();
}

const Picture& FrameGrabber::grab(std::uint64_t frame, std::uint32_t fps) {
    setFrameAtSteadyRate(frameState, frame, fps, assets.pages);
    renderFrame();
    const int width = frameState.viewportWidth;
    const int height = frameState.viewportHeight;
    readPixels_(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, window_.data());
    enlargeUpright(window_, width, height, scale_, picture_);
    return picture_;
}

} // namespace omra::capture
