#pragma once

#include "records/channel.h"
#include "records/file_callbacks.h"
#include "records/mix_constants.h"
#include "records/song.h"
#include "records/voice.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace omra {

// The player's module-wide state: one player per process. While a song plays, the voices, the
// rings and the song's playback position belong to the audio thread.
struct PlayerState {
    FileCallbacks fileCallbacks;
    Song* currentSong = nullptr;
    VoicePool voices;
    ChannelTable channels;
    // RingFrames frames of left, right floats; block b holds frames b x BlockFrames onwards.
    std::unique_ptr<float[]> floatRing;
    // RingFrames frames of left, right signed 16-bit samples, as the wave device plays them.
    std::unique_ptr<std::int16_t[]> pcmRing;
    std::int32_t writeBlock = 0;
    // Bit v set: voice v is mixed as usual but adds nothing to the output. The intro sets none;
    // a render of some channels only silences every other channel's two voices, so the
    // sequencer and every voice run exactly as in the full mix.
    std::uint64_t silentVoices = 0;
};

extern PlayerState player;

} // namespace omra
