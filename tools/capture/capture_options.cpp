#include "capture/capture_options.h"

#include "common/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace omra::capture {

namespace {

using tools::UsageError;

// Far beyond any video size in use, and still within what llvmpipe and the encoders take.
constexpr int LargestSide = 8192;
constexpr long HighestFps = 1000;
constexpr double LongestSeconds = 24 * 3600;

struct Size {
    int width;
    int height;
};

Size parseSize(const std::string& text) {
    int width = 0, height = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &end) != 2 || width < 16 ||
        height < 16 || width > LargestSide || height > LargestSide) {
        throw UsageError("--size takes WIDTHxHEIGHT, each from 16 to " +
                         std::to_string(LargestSide) + ", not '" + text + "'");
    }
    return {width, height};
}

OutputKind kindByName(const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".mp4") {
        return OutputKind::Mp4;
    }
    if (extension == ".mkv") {
        return OutputKind::Mkv;
    }
    throw UsageError("cannot tell the format of '" + name +
                     "': name an OUT.mp4 or OUT.mkv file, or a folder with --frames DIR");
}

std::string valueOf(const std::string& option, int& i, int argc, char** argv) {
    if (++i >= argc) {
        throw UsageError(option + " needs a value");
    }
    return argv[i];
}

void checkOutputSize(const CaptureOptions& options) {
    const int width = options.outputWidth();
    const int height = options.outputHeight();
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (width > LargestSide || height > LargestSide) {
        throw UsageError("the video would be " + size + "; neither side may pass " +
                         std::to_string(LargestSide));
    }
    if (options.kind == OutputKind::Mp4 && (width % 2 != 0 || height % 2 != 0)) {
        throw UsageError(
            "H.264 in yuv420p needs an even width and height, and the video would be " + size +
            ": choose another --size, --scale 2, or OUT.mkv");
    }
}

} // namespace

CaptureOptions parseCaptureOptions(int argc, char** argv) {
    CaptureOptions options;
    std::optional<std::string> output, frames;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--fps") {
            options.fps = static_cast<std::uint32_t>(tools::parseWholeNumberOption(
                word, valueOf(word, i, argc, argv), "frames per second", 1, HighestFps));
        } else if (word == "--seconds") {
            options.seconds = tools::parseNumberOption(word, valueOf(word, i, argc, argv),
                                                       "a number of seconds", 0, LongestSeconds);
        } else if (word == "--start") {
            options.start = tools::parseNumberOption(word, valueOf(word, i, argc, argv),
                                                     "a number of seconds", 0, LongestSeconds);
        } else if (word == "--scale") {
            options.scale = static_cast<int>(tools::parseWholeNumberOption(
                word, valueOf(word, i, argc, argv), "a whole factor", 1, 8));
        } else if (word == "--size") {
            const Size size = parseSize(valueOf(word, i, argc, argv));
            options.sceneWidth = size.width;
            options.sceneHeight = size.height;
        } else if (word == "--frames") {
            frames = valueOf(word, i, argc, argv);
        } else {
            tools::refuseIfOption(word);
            if (output) {
                throw UsageError("one output only, not '" + *output + "' and '" + word + "'");
            }
            output = word;
        }
    }
    if (frames && output) {
        throw UsageError("--frames DIR is the output; '" + *output + "' is one too many");
    }
    if (frames) {
        options.output = *frames;
        options.kind = OutputKind::Frames;
    } else if (output) {
        options.output = *output;
        options.kind = kindByName(*output);
    } else {
        throw UsageError("need an output: OUT.mp4, OUT.mkv or --frames DIR");
    }
    checkOutputSize(options);
    return options;
}

} // namespace omra::capture
