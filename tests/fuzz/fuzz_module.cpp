// Loads arbitrary bytes as an XM module through the memory file, as the intro does, and when the
// loader accepts them plays the song through the real sequencer and mixer, so that effects,
// envelopes and sample loops run on the fuzzed data too. Small inputs play long: a fault that
// needs one pitch on one tiny loop may take seconds of sound to show, and a module of a few
// hundred bytes holds little else to spend the time on.
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "records/player_state.h"
#include "sequencer/tick_driver.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

using namespace omra;

// Inputs of up to LongPlayBytes play LongPlayBlocks (30 s of sound); larger ones proportionally
// less, down to ShortPlayBlocks (0.4 s) from 77 KB on. At most MaxTicks ticks (a minute of a
// 125 BPM song at speed 6) and, on average over the blocks played, VoicesPerBlock sounding
// voices a block, so that neither a tempo of thousands of BPM nor 32 channels of tiny loops (a
// boundary every frame for each voice) makes one input take more than a fraction of a second.
constexpr std::size_t LongPlayBytes = 1024;
constexpr std::int32_t LongPlayBlocks = 1500;
constexpr std::int32_t ShortPlayBlocks = 20;
constexpr std::int32_t MaxTicks = 3000;
constexpr std::int32_t VoicesPerBlock = 4;

std::int32_t blocksToPlay(std::size_t size) {
    const std::size_t scaled = LongPlayBytes * LongPlayBlocks / std::max(size, LongPlayBytes);
    return std::max(static_cast<std::int32_t>(scaled), ShortPlayBlocks);
}

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

std::int32_t soundingVoices() {
    return static_cast<std::int32_t>(std::ranges::count_if(
        player.voices, [](const Voice& voice) { return voice.sample != nullptr; }));
}

void play(Song& song, std::int32_t blocks) {
    clearPlayer();
    if (!createRings(player)) {
        return;
    }
    resetPlayback(player, song);
    std::int32_t ticks = 0;
    std::int32_t voiceBlocks = 0;
    setTickObserver(countTick, &ticks);
    for (std::int32_t block = 0;
         block < blocks && ticks < MaxTicks && voiceBlocks < blocks * VoicesPerBlock; ++block) {
        mixBlock(player);
        voiceBlocks += soundingVoices();
    }
    setTickObserver(nullptr, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Song* song = loadSongFromMemory({data, size});
    if (song == nullptr) {
        return 0;
    }
    play(*song, blocksToPlay(size));
    // Releases the rings as well.
    freeSong(song);
    return 0;
}
