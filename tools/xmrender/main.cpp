// xmrender: plays an XM module through the intro's own player into a WAV file, so a musician
// hears the tune exactly as the intro will play it.
#include "common/clock_time.h"
#include "common/command_line.h"
#include "common/files.h"
#include "common/stop_signals.h"
#include "core/little_endian.h"
#include "records/mix_constants.h"
#include "records/xm_format.h"
#include "sequencer/tick_driver.h"
#include "sequencer/trace.h"
#include "xmrender/loaded_song.h"
#include "xmrender/offline_render.h"
#include "xmrender/wav_writer.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using omra::tools::UsageError;

constexpr const char* Usage =
    "usage: xmrender [--seconds S] [--trace FILE] IN.xm OUT.wav\n"
    "       xmrender --info IN.xm\n"
    "       xmrender --pcm IN.pcm OUT.wav\n"
    "\n"
    "Renders an XM module with the intro's own player: 44100 Hz, 16-bit stereo.\n"
    "  --seconds S  render S seconds instead of one pass of the song\n"
    "  --trace FILE write the player's state after every tick to FILE, one line per\n"
    "               channel: position, note, pitch, volume, panning, envelopes, voice\n"
    "  --info       print the module's header facts and exit\n"
    "  --pcm        wrap raw sound in the player's output format, such as what the\n"
    "               intro hands a disk audio driver, in a WAV file\n"
    "One pass ends where playback first comes back to an order position it has already\n"
    "played (the song's loop point); it stops after 30 minutes if the song never does.\n";

struct Arguments {
    bool info = false;
    bool pcm = false;
    std::optional<double> seconds;
    std::optional<std::string> trace;
    std::vector<std::string> files;
};

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--info") {
            arguments.info = true;
        } else if (word == "--pcm") {
            arguments.pcm = true;
        } else if (word == "--seconds") {
            if (++i >= argc) {
                throw UsageError("--seconds needs a value");
            }
            // The longest a WAV file holds, refused before rendering that far.
            arguments.seconds = omra::tools::parseNumberOption(
                "--seconds", argv[i], "a number of seconds", 0,
                std::floor(static_cast<double>(omra::tools::MaxWavFrames) / omra::MixRate));
        } else if (word == "--trace") {
            if (++i >= argc) {
                throw UsageError("--trace needs a file name");
            }
            arguments.trace = argv[i];
        } else {
            omra::tools::refuseIfOption(word);
            arguments.files.push_back(word);
        }
    }
    const std::size_t wanted = arguments.info ? 1 : 2;
    if (arguments.files.size() != wanted) {
        throw UsageError(arguments.info ? "--info takes one module" : "need IN.xm and OUT.wav");
    }
    return arguments;
}

unsigned u16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return offset + 1 < bytes.size() ? omra::readU16LE(&bytes[offset]) : 0;
}

void printInfo(const std::vector<std::uint8_t>& bytes, const omra::Song& song) {
    int samples = 0;
    for (int i = 0; i < song.instrumentCount; ++i) {
        samples += song.instruments[i].sampleCount;
    }
    std::printf("channels: %d\n", song.channelCount);
    std::printf("patterns: %u stored\n", u16At(bytes, omra::xm::PatternCountOffset));
    std::printf("instruments: %d\n", song.instrumentCount);
    std::printf("samples: %d\n", samples);
    std::printf("song length: %d\n", song.songLength);
    std::printf("restart position: %d\n", song.restartPosition);
    std::printf("speed: %d\n", song.defaultSpeed);
    std::printf("bpm: %d\n", song.defaultBpm);
    std::printf("frequency table: %s\n",
                song.flags & omra::xm::LinearFrequencyTable ? "linear" : "amiga");
}

std::string clock(std::uint64_t frames) {
    return omra::tools::clockTime(static_cast<double>(frames) / omra::MixRate);
}

// Whole frames only: a WAV file holds no part of one.
int wrapPcm(const std::string& input, const std::string& output) {
    const std::vector<std::uint8_t> bytes = omra::tools::readFile(input);
    std::vector<std::int16_t> values(bytes.size() / omra::BytesPerFrame * omra::Channels);
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(std::int16_t));
    omra::tools::WavWriter wav(output);
    wav.write(values);
    wav.finish();
    return 0;
}

void writeTrace(const omra::Song& song, void* out) {
    *static_cast<std::ostream*>(out) << formatTick(captureTick(song, omra::player));
}

int run(const Arguments& arguments) {
    using namespace omra;
    tools::stopOnSignals();
    const std::string& input = arguments.files[0];
    if (arguments.pcm) {
        return wrapPcm(input, arguments.files[1]);
    }
    const std::vector<std::uint8_t> bytes = tools::readFile(input);
    const tools::LoadedSong song = tools::loadModule(bytes, input);
    if (arguments.info) {
        printInfo(bytes, *song);
        return 0;
    }

    tools::RenderLength length;
    if (arguments.seconds) {
        length.frames = static_cast<std::uint64_t>(std::llround(*arguments.seconds * MixRate));
    }
    length.passLimitFrames = tools::PassLimitSeconds * MixRate;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    std::uint64_t nextReport = 0;
    // Both outputs are opened before the render, so a bad path fails at once.
    tools::WavWriter wav(arguments.files[1]);
    std::optional<tools::AtomicFile> traceFile;
    struct ObserverRelease {
        ~ObserverRelease() { setTickObserver(nullptr, nullptr); }
    } observerRelease;
    if (arguments.trace) {
        traceFile.emplace(*arguments.trace);
        traceFile->stream() << "# " << input
                            << ": the player's state after every tick, one line per channel\n";
        setTickObserver(writeTrace, &traceFile->stream());
    }
    const tools::RenderResult result = tools::renderSong(
        *song, length, [&](std::span<const std::int16_t> pcm) { wav.write(pcm); },
        [&](std::uint64_t frames) {
            tools::stopIfAsked();
            if (frames >= nextReport) {
                std::fprintf(stderr, terminal ? "\rrendered %s" : "rendered %s\n",
                             clock(frames).c_str());
                nextReport += 30 * MixRate;
            }
        });
    if (traceFile) {
        traceFile->commit();
    }
    wav.finish();
    std::fprintf(stderr, "%s%s: %s rendered (%llu frames)%s\n", terminal ? "\r" : "",
                 arguments.files[1].c_str(), clock(result.frames).c_str(),
                 static_cast<unsigned long long>(result.frames),
                 !arguments.seconds && !result.cameBack ? ", the song never came back" : "");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool(
        "xmrender", Usage, argc, argv,
        [](int count, char** words) { return run(parseArguments(count, words)); });
}
