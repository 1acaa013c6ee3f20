// Loads arbitrary bytes as an XM module through the memory file, as the intro does, and when the
// loader accepts them plays the song through the real sequencer and mixer for up to
// MaxTicks ticks, so that effects, envelopes and sample loops run on the fuzzed data too.
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "player/player_state.h"
#include "sequencer/tick_driver.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace omra;

// At most MaxTicks ticks, about a minute of a 125 BPM song at speed 6, and at most 0.4 s of
// sound, which keeps one input to a few milliseconds at any tempo.
constexpr std::int32_t MaxTicks = 3000;
constexpr std::int32_t MaxBlocks = 20;

void countTick(const Song& /*song*/, void* context) {
    ++*static_cast<std::int32_t*>(context);
}

// Every voice and channel as a fresh process has them, so that an input plays the same
// whatever ran before it.
void clearPlayer() {
    player.voices = VoicePool{};
    player.channels = ChannelTable{};
    player.writeBlock = 0;
}

void play(Song& song) {
    clearPlayer();
    if (!createRings(player)) {
        return;
    }
    resetPlayback(player, song);
    std::int32_t ticks = 0;
    setTickObserver(countTick, &ticks);
    for (std::int32_t block = 0; block < MaxBlocks && ticks < MaxTicks; ++block) {
        mixBlock(player);
    }
    setTickObserver(nullptr, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setMemoryFileBytes({data, size});
    setFileCallbacks(memoryFileOpen, memoryFileClose, memoryFileRead, memoryFileSeek,
                     memoryFileTell);
    Song* song = loadSong(data);
    if (song == nullptr) {
        return 0;
    }
    play(*song);
    // Releases the rings as well.
    freeSong(song);
    return 0;
}
