#pragma once

#include "player/wave_device.h"
#include "records/player_state.h"

#include <atomic>
#include <cstdint>

namespace omra {

// The device's played-bytes counter is 32 bits wide and wraps after about 6 h 46 min; summing
// its unsigned differences gives a 64-bit count that runs on across the wrap.
class PlayedBytesClock {
public:
    void restart() { last_ = 0, total_ = 0; }
    std::uint64_t advance(std::uint32_t counter) {
        total_ += static_cast<std::uint32_t>(counter - last_);
        last_ = counter;
        return total_;
    }

private:
    std::uint32_t last_ = 0;
    std::uint64_t total_ = 0;
};

// The block the device is playing, from the bytes it has played since the start.
std::int32_t playBlock(std::uint64_t playedBytes);

// The handshake between the main thread and the audio thread.
struct AudioThreadFlags {
    std::atomic<bool> stopRequest{false};
    std::atomic<bool> blockBeingMixed{false};
    std::atomic<bool> threadEnded{true};
};

extern AudioThreadFlags audioFlags;

// One poll of the device: mixes every block the device has finished, from the write block up
// to the block it plays now. Marks each mix with the block-being-mixed flag.
void serviceWaveDevice(PlayerState& state, WaveDevice& device, PlayedBytesClock& clock);

// The audio thread: polls the device every 5 ms until asked to stop.
void audioThread(WaveDevice& device);

} // namespace omra
