#include "player/audio_thread.h"

#include "player/mixer.h"

#include <chrono>
#include <thread>

namespace omra {

AudioThreadFlags audioFlags;

std::int32_t playBlock(std::uint64_t playedBytes) {
    const std::uint64_t framesPlayed = playedBytes / BytesPerFrame;
    return static_cast<std::int32_t>(framesPlayed % RingFrames / BlockFrames);
}

void serviceWaveDevice(PlayerState& state, WaveDevice& device, PlayedBytesClock& clock) {
    const std::int32_t playing = playBlock(clock.advance(device.playedBytes()));
    if (state.writeBlock == playing) {
        return;
    }
    // The block being played is never rewritten; everything behind it is refilled.
    while (state.writeBlock != playing) {
        audioFlags.blockBeingMixed.store(true, std::memory_order_seq_cst);
        mixBlock(state);
        audioFlags.blockBeingMixed.store(false, std::memory_order_seq_cst);
    }
    device.ringRewritten();
}

void audioThread(WaveDevice& device) {
    audioFlags.threadEnded.store(false);
    device.raiseAudioThreadPriority();
    PlayedBytesClock clock;
    while (!audioFlags.stopRequest.load()) {
        serviceWaveDevice(player, device, clock);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    audioFlags.threadEnded.store(true);
}

} // namespace omra
