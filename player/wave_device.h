#pragma once

#include <cstdint>

namespace omra {

// The platform's wave output as the player uses it: one ring of 16-bit stereo 44100 Hz PCM,
// played from its start in an endless loop, and a counter of the bytes played so far.
class WaveDevice {
public:
    virtual ~WaveDevice() = default;

    // Opens the default output for 44100 Hz, 2 channels, signed 16-bit; false when none opens.
    virtual bool open() = 0;
    // Takes the ring the device will loop over.
    virtual void prepare(const std::int16_t* ring, std::uint32_t bytes) = 0;
    // Starts playing the ring from its first byte.
    virtual void start() = 0;
    // Bytes played since start: a 32-bit counter that wraps after 2^32 bytes.
    virtual std::uint32_t playedBytes() = 0;
    // Called by the audio thread after it has rewritten blocks of the ring, before they are
    // played: a device that reads the ring on a thread of its own makes the writes visible there.
    virtual void ringRewritten() = 0;
    // Stops output; the ring is no longer read.
    virtual void reset() = 0;
    // Gives the ring back.
    virtual void unprepare() = 0;
    virtual void close() = 0;
    // Raises the calling thread, the audio thread, to the highest priority the platform grants.
    virtual void raiseAudioThreadPriority() = 0;
};

// The device playback uses from now on; none (the default) makes startPlayback fail as a
// device that does not open would.
void setWaveDevice(WaveDevice* device);

} // namespace omra
