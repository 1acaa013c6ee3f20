#include "xmrender/offline_render.h"

#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"

#include <array>
#include <stdexcept>

namespace omra::tools {

namespace {

// Watches the order position tick by tick. Playback comes back to music already played when it
// moves to an order position it has played: at the end of a pattern or by a jump or a break,
// to another position or to the one playing now (a song of one position, a jump to itself).
// A pattern loop repeats rows without such a move and does not count.
struct PassWatch {
    TickHandler tick = nullptr;
    std::array<bool, xm::OrderTableSize> played{};
    std::int32_t lastOrder = 0;
    std::uint64_t tickStartFrame = 0;
    int passesLeft = 1;
    std::optional<std::uint64_t> cameBackAt;
};

PassWatch watch;

void watchedTick(Song& song) {
    const std::uint64_t start = watch.tickStartFrame;
    // A row's first tick makes the order move that the row before asked for, if any.
    const bool orderMove = song.tick == 0 && song.nextOrder >= 0;
    watch.tick(song);
    // The mixer reads the tick's length after the handler, so a tempo change counts already.
    watch.tickStartFrame += static_cast<std::uint64_t>(song.framesPerTick);
    const std::int32_t order = song.orderPosition;
    if ((orderMove || order != watch.lastOrder) && order >= 0 && order < xm::OrderTableSize) {
        if (watch.played[order] && !watch.cameBackAt) {
            // The next pass starts here, with only this position played.
            if (--watch.passesLeft == 0) {
                watch.cameBackAt = start;
            }
            watch.played.fill(false);
        }
        watch.played[order] = true;
        watch.lastOrder = order;
    }
}

} // namespace

RenderResult renderSong(Song& song, const RenderPlan& plan,
                        const std::function<void(std::span<const std::int16_t>)>& sink,
                        const std::function<void(std::uint64_t)>& progress) {
    PlayerState& state = player;
    if (!createRings(state)) {
        throw std::runtime_error("out of memory for the mixing rings");
    }
    resetPlayback(state, song);
    startAtOrder(song, plan.startOrder);
    state.silentVoices = plan.silentChannels | std::uint64_t{plan.silentChannels}
                                                   << xm::MaxChannels;
    watch = PassWatch{};
    watch.tick = song.tickHandler;
    watch.passesLeft = plan.passes;
    // Playback begins on order 0, or moves to the start position on its first tick.
    watch.played[0] = plan.startOrder == 0;
    song.tickHandler = watchedTick;
    // However the render ends, a callback's exception (a tool asked to stop) included, the
    // song gets its own tick handler back and playback stops.
    struct Restore {
        Song& song;
        ~Restore() {
            song.tickHandler = watch.tick;
            player.silentVoices = 0;
            stopPlayback(&song);
        }
    } restore{song};

    const std::uint64_t limit = plan.frames.value_or(plan.passLimitFrames);
    RenderResult result;
    while (result.frames < limit) {
        const std::int32_t block = state.writeBlock;
        mixBlock(state);
        std::uint64_t blockEnd = result.frames + BlockFrames;
        if (!plan.frames && watch.cameBackAt) {
            blockEnd = *watch.cameBackAt;
            result.cameBack = true;
        }
        blockEnd = std::min(blockEnd, limit);
        const auto frames = static_cast<std::size_t>(blockEnd - result.frames);
        sink({state.pcmRing.get() + 2 * block * BlockFrames, 2 * frames});
        result.frames = blockEnd;
        progress(result.frames);
        if (result.cameBack) {
            break;
        }
    }
    return result;
}

} // namespace omra::tools
