#include "xmrender/live_play.h"

#include "common/clock_time.h"
#include "common/stop_signals.h"
#include "player/audio_thread.h"
#include "player/player.h"
#include "player/wave_device_sdl.h"
#include "records/player_state.h"
#include "xmrender/raw_terminal.h"
#include "xmrender/tick_log.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace omra::tools {

namespace {

// The device plays one buffer of this many frames while SDL asks for the next: the frames
// handed over last are heard that much later.
constexpr std::uint64_t DeviceBufferFrames = 1024;

std::string statusText(std::uint64_t heardFrames, const TickMark& mark, const Song& song,
                       bool paused) {
    const double seconds = static_cast<double>(heardFrames) / MixRate;
    const auto hundredths = static_cast<int>(heardFrames * 100 / MixRate % 100);
    char text[160];
    std::snprintf(text, sizeof text, "%s.%02d  order %d/%d  pattern %d  row %d  speed %d  bpm %d%s",
                  clockTime(seconds).c_str(), hundredths, mark.order, song.songLength - 1,
                  mark.pattern, mark.row, mark.speed, mark.bpm, paused ? "  paused" : "");
    return text;
}

// A meter a channel, from silent to full: " .:-=+*#".
std::string channelMeters(const TickMark& mark, int channels) {
    static constexpr char Steps[] = " .:-=+*#";
    constexpr int Louder = sizeof Steps - 2; // the steps above silence
    std::string meters;
    for (int channel = 0; channel < channels; ++channel) {
        const int level = mark.levels[channel];
        meters += Steps[level == 0 ? 0 : 1 + (level - 1) * Louder / 255];
    }
    return meters;
}

// The terminal's width in columns, or 80 when it does not say.
int terminalColumns() {
    winsize size{};
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// Starts the song at `order` on the device, the tick log reset to the new start. The audio
// thread is ended first: it reads the song's tick handler and writes the log.
void start(Song& song, TickLog& log, std::int32_t order) {
    stopPlayback(&song);
    observeTicks(song, log, order);
    if (!startPlayback(&song)) {
        throw std::runtime_error(std::string("no sound device: ") + SDL_GetError());
    }
}

} // namespace

int playLive(Song& song, const LivePlan& plan) {
    WaveDevice& device = sdlWaveDevice();
    setWaveDevice(&device);
    player.silentVoices = plan.silentChannels | std::uint64_t{plan.silentChannels}
                                                    << xm::MaxChannels;
    auto log = std::make_unique<TickLog>();
    struct Release {
        Song& song;
        ~Release() {
            stopPlayback(&song);
            stopObserving(song);
            player.silentVoices = 0;
            setWaveDevice(nullptr);
        }
    } release{song};
    start(song, *log, plan.startOrder);

    std::optional<RawTerminal> terminal;
    if (plan.keys) {
        terminal.emplace();
    }
    const bool statusTerminal = isatty(STDERR_FILENO) != 0;
    PlayedBytesClock clock;
    std::uint64_t framesBefore = 0; // heard before the last restart
    std::uint64_t heard = 0;
    std::string shown;
    std::int32_t shownOrder = -1;
    bool paused = false;
    bool quit = false;
    int exitCode = 0;
    try {
        while (!quit) {
            stopIfAsked();
            const std::uint64_t played = clock.advance(device.playedBytes()) / BytesPerFrame;
            heard = played > DeviceBufferFrames ? played - DeviceBufferFrames : 0;
            if (plan.frames && framesBefore + heard >= *plan.frames) {
                heard = *plan.frames - framesBefore;
                quit = true;
            }
            const std::optional<TickMark> mark = log->at(heard);
            if (mark) {
                std::string text = statusText(framesBefore + heard, *mark, song, paused);
                // On a terminal the channels' meters follow, where the line has room for them.
                if (statusTerminal) {
                    const std::string meters = channelMeters(*mark, song.channelCount);
                    if (text.size() + meters.size() + 4 <
                        static_cast<std::size_t>(terminalColumns())) {
                        text += "  [" + meters + "]";
                    }
                }
                // Off a terminal, a line for each order reached and the last one.
                if (statusTerminal && text != shown) {
                    // Wide enough to cover the line before, which may have been longer.
                    const int width = static_cast<int>(std::max<std::size_t>(78, shown.size()));
                    std::fprintf(stderr, "\r%-*s", width, text.c_str());
                } else if (!statusTerminal && (mark->order != shownOrder || quit)) {
                    std::fprintf(stderr, "%s\n", text.c_str());
                }
                shown = text;
                shownOrder = mark->order;
            }
            for (const Key key : terminal ? terminal->keys() : std::vector<Key>{}) {
                if (key == Key::Quit) {
                    quit = true;
                } else if (key == Key::Pause) {
                    paused = !paused;
                    paused ? device.reset() : device.start();
                } else if (mark) {
                    // Heard at once: playback starts afresh at the order asked for.
                    const std::int32_t order =
                        std::clamp(mark->order + (key == Key::Next ? 1 : -1), 0,
                                   static_cast<std::int32_t>(song.songLength) - 1);
                    framesBefore += heard;
                    clock.restart();
                    paused = false;
                    start(song, *log, order);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    } catch (const Interrupted&) {
        exitCode = stoppedExitCode();
    }
    if (statusTerminal) {
        std::fputc('\n', stderr);
    }
    return exitCode;
}

} // namespace omra::tools
