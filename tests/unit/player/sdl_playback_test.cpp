// Playback through the real SDL output, on SDL's dummy driver, which calls the device's callback
// at the pace of a sound card without one. Under ThreadSanitizer this checks that the ring blocks
// the audio thread mixes reach the callback's thread ordered after their writing.
#include "player/memory_file.h"
#include "player/player.h"
#include "player/wave_device.h"
#include "player/wave_device_sdl.h"
#include "records/mix_constants.h"
#include "xm/xm_writer.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace omra {
namespace {

TEST(SdlPlayback, PlaysPastThePreMixedRingIntoBlocksTheAudioThreadMixed) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    tools::XmSample tone;
    for (int i = 0; i < 64; ++i) {
        tone.frames.push_back(static_cast<std::int16_t>(i % 16 < 8 ? 60 : -60));
    }
    tone.loopType = 1;
    tone.loopLength = 64;
    tools::XmInstrument instrument;
    instrument.samples = {tone};
    tools::XmModule module;
    module.orders = {0};
    module.patterns = {tools::emptyPattern(64, module.channels)};
    module.patterns[0].at(0, 0, module.channels) = {49, 1, 0, 0, 0};
    module.instruments = {instrument};
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);

    WaveDevice& device = sdlWaveDevice();
    setWaveDevice(&device);
    Song* song = loadSongFromMemory(bytes);
    ASSERT_NE(song, nullptr);
    ASSERT_TRUE(startPlayback(song));
    // The first RingBytes were mixed before the device started; half a second more were mixed
    // by the audio thread while the device played.
    constexpr std::uint32_t Wanted = RingFrames * BytesPerFrame + MixRate / 2 * BytesPerFrame;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (device.playedBytes() < Wanted && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::uint32_t played = device.playedBytes();
    stopPlayback(song);
    freeSong(song);
    setWaveDevice(nullptr);
    EXPECT_GE(played, Wanted);
}

} // namespace
} // namespace omra
