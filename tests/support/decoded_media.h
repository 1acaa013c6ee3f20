#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

// A capture read back through FFmpeg's demuxers and decoders, the libraries that wrote it: a
// video file, or one PNG frame.
namespace omra::media {

struct DecodedMedia {
    std::string videoCodec;
    std::string soundCodec;
    // As FFmpeg names them ("High", "LC"); empty where a codec has none.
    std::string videoProfile;
    std::string soundProfile;
    int width = 0;
    int height = 0;
    std::string pixelFormat;
    std::uint64_t videoFrames = 0;
    // Each decoded picture's type ('I', 'P', 'B'), in the order they are shown.
    std::string pictureTypes;
    // No picture decoded after a key frame is shown before it: each group of pictures can be
    // decoded without the one before.
    bool groupsClosed = true;
    // The video stream's length as the container gives it.
    double videoSeconds = 0;
    // Decoded sound, 16-bit stereo interleaved (float sound converted), and its sample rate.
    std::vector<std::int16_t> sound;
    int sampleRate = 0;
};

// Decodes every stream of `path`, handing each decoded picture to `onFrame` with its index.
// Throws std::runtime_error naming the step that failed.
DecodedMedia decodeMedia(const std::filesystem::path& path,
                         const std::function<void(std::uint64_t, const AVFrame&)>& onFrame = {});

// The types of a file's top-level boxes ("ftyp", "moov", "mdat", ...), in file order.
std::vector<std::string> topLevelBoxes(const std::filesystem::path& path);

// A decoded picture as RGB, 3 bytes a pixel, top row first.
std::vector<std::uint8_t> rgbOf(const AVFrame& frame);

// FNV-1a over a decoded picture's visible pixels, plane by plane.
std::uint64_t pictureHash(const AVFrame& frame);

} // namespace omra::media
