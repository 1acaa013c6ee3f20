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
#include "xmrender/channel_list.h"
#include "xmrender/fade_out.h"
#include "xmrender/live_play.h"
#include "xmrender/loaded_song.h"
#include "xmrender/oddity_check.h"
#include "xmrender/offline_render.h"
#include "xmrender/wav_writer.h"

#include <algorithm>
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
    "usage: xmrender [options] IN.xm OUT.wav\n"
    "       xmrender [options] --stems DIR IN.xm\n"
    "       xmrender --info IN.xm\n"
    "       xmrender --pcm IN.pcm OUT.wav\n"
    "       xmrender --check IN.xm\n"
    "       xmrender --play [options] IN.xm\n"
    "\n"
    "Renders an XM module with the intro's own player: 44100 Hz, 16-bit stereo.\n"
    "  --seconds S    render S seconds instead of passes of the song\n"
    "  --loops N      render N passes of the song (default 1)\n"
    "  --fade S       fade the last S seconds out linearly (no fade unless asked)\n"
    "  --start ORDER  begin at order position ORDER (from 0), as a jump there would\n"
    "  --solo LIST    hear only these channels, numbered from 1 as trackers show them,\n"
    "                 in a list like 1,3-5\n"
    "  --mute LIST    silence these channels (from 1)\n"
    "  --stems DIR    write DIR/mix.wav and DIR/channel-01.wav... for every channel that\n"
    "                 makes a sound, each with the other channels silenced at the mixer\n"
    "  --trace FILE   write the player's state after every tick to FILE, one line per\n"
    "                 channel: position, note, pitch, volume, panning, envelopes, voice;\n"
    "                 its channel= field counts from 0 (channel=0 is channel 1)\n"
    "  --info         print the module's header facts and exit\n"
    "  --pcm          wrap raw sound in the player's output format, such as what the\n"
    "                 intro hands a disk audio driver, in a WAV file\n"
    "  --play         play on the sound device, showing the order, row, speed and tempo\n"
    "                 being heard and, where the terminal has room, a level meter per\n"
    "                 channel; from a terminal, space pauses, left and right go to\n"
    "                 the previous and next order and q quits, otherwise it plays one\n"
    "                 pass (or --seconds, --loops) and ends\n"
    "  --check        play one pass silently and list every place where the tune meets\n"
    "                 one of this player's deliberate departures from a tracker\n"
    "A pass ends where playback first comes back to an order position it has already\n"
    "played in that pass (the song's loop point); it stops after 30 minutes if the song\n"
    "never does. Silenced channels still play in the sequencer, so timing never changes.\n";

struct Arguments {
    bool info = false;
    bool pcm = false;
    bool check = false;
    bool play = false;
    std::optional<double> seconds;
    long loops = 1;
    double fade = 0;
    long start = 0;
    std::uint32_t solo = 0;
    std::uint32_t mute = 0;
    std::optional<std::string> stems;
    std::optional<std::string> trace;
    std::vector<std::string> files;
};

// The longest a WAV file holds, refused before rendering that far.
double longestSeconds() {
    return std::floor(static_cast<double>(omra::tools::MaxWavFrames) / omra::MixRate);
}

Arguments parseArguments(int argc, char** argv) {
    using omra::tools::parseNumberOption;
    using omra::tools::parseWholeNumberOption;
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const auto value = [&](const char* what) -> std::string {
            if (++i >= argc) {
                throw UsageError(word + " needs " + what);
            }
            return argv[i];
        };
        if (word == "--info") {
            arguments.info = true;
        } else if (word == "--pcm") {
            arguments.pcm = true;
        } else if (word == "--check") {
            arguments.check = true;
        } else if (word == "--play") {
            arguments.play = true;
        } else if (word == "--seconds") {
            arguments.seconds = parseNumberOption(word, value("a value"), "a number of seconds", 0,
                                                  longestSeconds());
        } else if (word == "--loops") {
            arguments.loops =
                parseWholeNumberOption(word, value("a value"), "a number of passes", 1, 1000);
        } else if (word == "--fade") {
            arguments.fade = parseNumberOption(word, value("a value"), "a number of seconds", 0,
                                               longestSeconds());
        } else if (word == "--start") {
            arguments.start = parseWholeNumberOption(word, value("an order position"),
                                                     "an order position", 0, 255);
        } else if (word == "--solo") {
            arguments.solo = omra::tools::parseChannelList(word, value("a list of channels"));
        } else if (word == "--mute") {
            arguments.mute = omra::tools::parseChannelList(word, value("a list of channels"));
        } else if (word == "--stems") {
            arguments.stems = value("a folder name");
        } else if (word == "--trace") {
            arguments.trace = value("a file name");
        } else {
            omra::tools::refuseIfOption(word);
            arguments.files.push_back(word);
        }
    }
    if (arguments.stems && arguments.trace) {
        throw UsageError("--trace writes the trace of one render, not of --stems");
    }
    if (arguments.play && (arguments.stems || arguments.trace || arguments.fade > 0)) {
        throw UsageError("--play plays; --stems, --trace and --fade are for renders");
    }
    const bool alone = arguments.info || arguments.check || arguments.play;
    const std::size_t wanted = alone || arguments.stems ? 1 : 2;
    if (arguments.files.size() != wanted) {
        throw UsageError(alone             ? (arguments.info    ? "--info takes one module"
                                              : arguments.check ? "--check takes one module"
                                                                : "--play takes one module")
                         : arguments.stems ? "--stems DIR takes one module"
                                           : "need IN.xm and OUT.wav");
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

// Where the song starts and stops and what is heard, checked against the module.
omra::tools::RenderPlan renderPlan(const Arguments& arguments, const omra::Song& song) {
    using namespace omra;
    if (arguments.start >= song.songLength) {
        throw UsageError("--start " + std::to_string(arguments.start) + ": the song has " +
                         std::to_string(song.songLength) + " order positions, 0 to " +
                         std::to_string(song.songLength - 1));
    }
    tools::RenderPlan plan;
    if (arguments.seconds) {
        plan.frames = static_cast<std::uint64_t>(std::llround(*arguments.seconds * MixRate));
    }
    plan.passes = static_cast<int>(arguments.loops);
    plan.passLimitFrames =
        static_cast<std::uint64_t>(arguments.loops) * tools::PassLimitSeconds * MixRate;
    plan.startOrder = static_cast<std::int32_t>(arguments.start);
    plan.silentChannels = ~tools::heardChannels(arguments.solo, arguments.mute, song.channelCount);
    return plan;
}

// Progress on stderr: a line rewritten in place on a terminal, one every 30 s of sound otherwise.
class Progress {
public:
    explicit Progress(std::string what) : what_(std::move(what)) {}
    void operator()(std::uint64_t frames) {
        omra::tools::stopIfAsked();
        if (frames >= nextReport_) {
            std::fprintf(stderr, terminal_ ? "\r%s: rendered %s" : "%s: rendered %s\n",
                         what_.c_str(), clock(frames).c_str());
            nextReport_ += 30 * omra::MixRate;
        }
    }
    void done(const omra::tools::RenderResult& result, bool fixedLength) const {
        std::fprintf(stderr, "%s%s: %s rendered (%llu frames)%s\n", terminal_ ? "\r" : "",
                     what_.c_str(), clock(result.frames).c_str(),
                     static_cast<unsigned long long>(result.frames),
                     !fixedLength && !result.cameBack ? ", the song never came back" : "");
    }

private:
    std::string what_;
    bool terminal_ = isatty(STDERR_FILENO) != 0;
    std::uint64_t nextReport_ = 0;
};

// Renders the plan into the WAV writer, faded as asked; true when any sample is not silence.
bool renderInto(omra::Song& song, const omra::tools::RenderPlan& plan, double fadeSeconds,
                omra::tools::WavWriter& wav, Progress& progress) {
    using namespace omra;
    bool sounds = false;
    tools::FadeOut fade(static_cast<std::uint64_t>(std::llround(fadeSeconds * MixRate)),
                        [&](std::span<const std::int16_t> pcm) {
                            sounds = sounds || std::ranges::any_of(
                                                   pcm, [](std::int16_t v) { return v != 0; });
                            wav.write(pcm);
                        });
    const tools::RenderResult result = tools::renderSong(
        song, plan, [&](std::span<const std::int16_t> pcm) { fade.write(pcm); },
        [&](std::uint64_t frames) { progress(frames); });
    fade.finish();
    progress.done(result, plan.frames.has_value());
    return sounds;
}

// The mix and one file for each heard channel that makes a sound, in a folder that appears
// only once complete. Every render loads the module afresh: a set-finetune effect changes the
// song's samples as it plays.
void renderStems(std::span<const std::uint8_t> bytes, const omra::tools::RenderPlan& plan,
                 const Arguments& arguments) {
    using namespace omra;
    tools::AtomicFolder folder(*arguments.stems);
    const std::string& input = arguments.files[0];
    const int channels = tools::loadModule(bytes, input)->channelCount;
    for (int channel = 0; channel < channels; ++channel) {
        if ((plan.silentChannels >> channel & 1) != 0) {
            continue;
        }
        char name[32];
        std::snprintf(name, sizeof name, "channel-%02d.wav", channel + 1);
        tools::RenderPlan alone = plan;
        alone.silentChannels = ~(1u << channel);
        tools::WavWriter wav(folder.path() / name);
        Progress progress(*arguments.stems + "/" + name);
        if (renderInto(*tools::loadModule(bytes, input), alone, arguments.fade, wav, progress)) {
            wav.finish();
        }
    }
    tools::WavWriter mix(folder.path() / "mix.wav");
    Progress progress(*arguments.stems + "/mix.wav");
    renderInto(*tools::loadModule(bytes, input), plan, arguments.fade, mix, progress);
    mix.finish();
    folder.commit();
}

// Live on the sound device. Without a terminal to quit from, it ends after the render's length:
// the frames asked for, or the passes, measured by a silent render of a fresh copy.
int playSong(std::span<const std::uint8_t> bytes, const Arguments& arguments,
             const omra::tools::RenderPlan& plan, omra::Song& song) {
    using namespace omra;
    tools::LivePlan live;
    live.frames = plan.frames;
    live.startOrder = plan.startOrder;
    live.silentChannels = plan.silentChannels;
    live.keys = isatty(STDIN_FILENO) != 0;
    if (!live.frames && !live.keys) {
        live.frames =
            tools::renderSong(
                *tools::loadModule(bytes, arguments.files[0]), plan,
                [](std::span<const std::int16_t>) {}, [](std::uint64_t) { tools::stopIfAsked(); })
                .frames;
    }
    return tools::playLive(song, live);
}

int run(const Arguments& arguments) {
    using namespace omra;
    tools::stopOnSignals();
    const std::string& input = arguments.files[0];
    if (arguments.pcm) {
        return wrapPcm(input, arguments.files[1]);
    }
    const std::vector<std::uint8_t> bytes = tools::readFile(input);
    if (arguments.check) {
        const std::vector<std::string> lines = tools::checkOddities(bytes, input);
        for (const std::string& line : lines) {
            std::printf("%s\n", line.c_str());
        }
        if (lines.empty()) {
            std::printf("%s: no oddities met\n", input.c_str());
        } else {
            std::printf("%s: %zu place%s where this player differs from a tracker\n", input.c_str(),
                        lines.size(), lines.size() == 1 ? "" : "s");
        }
        return 0;
    }
    const tools::LoadedSong song = tools::loadModule(bytes, input);
    if (arguments.info) {
        printInfo(bytes, *song);
        return 0;
    }
    const tools::RenderPlan plan = renderPlan(arguments, *song);
    if (arguments.stems) {
        renderStems(bytes, plan, arguments);
        return 0;
    }
    if (arguments.play) {
        return playSong(bytes, arguments, plan, *song);
    }

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
    Progress progress(arguments.files[1]);
    renderInto(*song, plan, arguments.fade, wav, progress);
    if (traceFile) {
        traceFile->commit();
    }
    wav.finish();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool(
        "xmrender", Usage, argc, argv,
        [](int count, char** words) { return run(parseArguments(count, words)); });
}
