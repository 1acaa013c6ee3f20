#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The reference player the player's speed is measured against, where the benchmark is built
// with it (natively, with libxmp, and in the 32-bit x86 program that stands beside the Windows
// build); nowhere else, and never in the intro or its tools.
namespace omra::benchmark {

class PeerPlayer {
public:
    virtual ~PeerPlayer() = default;
    // Back to the start of the song.
    virtual void restart() = 0;
    // Renders `blocks` blocks of BlockFrames frames of 44100 Hz 16-bit stereo, as the intro's
    // player mixes them, with linear interpolation.
    virtual void render(int blocks) = 0;
};

// None where no reference player is built in, or where it refuses the module.
std::unique_ptr<PeerPlayer> loadPeerPlayer(std::span<const std::uint8_t> module);

// The reference player and the processor it is built for, as the tables name it; empty where
// none is built in.
std::string peerName();

} // namespace omra::benchmark
