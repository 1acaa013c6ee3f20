#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace omra::capture {

enum class OutputKind {
    Mp4,    // H.264 in yuv420p with AAC, for video sites
    Mkv,    // FFV1 with FLAC, lossless, for editing and archives
    Frames, // a folder of PNG frames and sound.wav
};

struct CaptureOptions {
    std::string output;
    OutputKind kind = OutputKind::Mp4;
    std::uint32_t fps = 60;
    // Without it, one pass of the tune up to its loop point.
    std::optional<double> seconds;
    double start = 0;
    // The scene's own size, and how many times each of its pixels is enlarged in the output.
    int sceneWidth = 960;
    int sceneHeight = 540;
    int scale = 1;

    int outputWidth() const { return sceneWidth * scale; }
    int outputHeight() const { return sceneHeight * scale; }
};

// Reads the command line. Throws a UsageError for a bad or missing option, an output whose name
// says neither .mp4 nor .mkv, or sizes the chosen output cannot hold.
CaptureOptions parseCaptureOptions(int argc, char** argv);

} // namespace omra::capture
