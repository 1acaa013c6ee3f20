#include "xmrender/tick_log.h"

#include "player/playback.h"
#include "records/player_state.h"

#include <algorithm>

namespace omra::tools {

namespace {

// The song's tick handler is a plain function, so what the observer needs is held here.
struct Observer {
    TickHandler tick = nullptr;
    TickLog* log = nullptr;
    std::uint64_t nextFrame = 0;
    std::int32_t startOrder = 0;
};

Observer observer;

std::array<std::uint8_t, xm::MaxChannels> channelLevels(const VoicePool& voices) {
    static_assert(VoiceCount == 2 * xm::MaxChannels, "a channel's note and its fading one");
    std::array<std::uint8_t, xm::MaxChannels> levels{};
    for (int channel = 0; channel < xm::MaxChannels; ++channel) {
        int loudest = 0;
        for (const Voice& voice : {voices[channel], voices[channel + xm::MaxChannels]}) {
            if (voice.sample != nullptr) {
                loudest = std::max(loudest, voice.gainLeft + voice.gainRight);
            }
        }
        levels[channel] = static_cast<std::uint8_t>(std::min(loudest, 255));
    }
    return levels;
}

void observedTick(Song& song) {
    if (observer.startOrder != 0) {
        startAtOrder(song, observer.startOrder);
        observer.startOrder = 0;
    }
    observer.tick(song);
    const std::int32_t order = song.orderPosition;
    const std::int32_t pattern =
        order >= 0 && order < xm::OrderTableSize ? song.orderTable[order] : 0;
    observer.log->record({observer.nextFrame, order, pattern, song.row, song.speed, song.bpm,
                          channelLevels(player.voices)});
    // The mixer reads the tick's length after the handler, so a tempo change counts already.
    observer.nextFrame += static_cast<std::uint64_t>(song.framesPerTick);
}

} // namespace

void TickLog::clear() {
    const std::lock_guard lock(mutex_);
    count_ = 0;
}

void TickLog::record(const TickMark& mark) {
    const std::lock_guard lock(mutex_);
    marks_[count_ % Capacity] = mark;
    ++count_;
}

std::optional<TickMark> TickLog::at(std::uint64_t frame) const {
    const std::lock_guard lock(mutex_);
    const std::uint64_t first = count_ > Capacity ? count_ - Capacity : 0;
    std::uint64_t low = first;
    std::uint64_t high = count_;
    // The first kept tick that begins after the frame.
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (marks_[middle % Capacity].startFrame <= frame) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == first) {
        return std::nullopt;
    }
    return marks_[(low - 1) % Capacity];
}

void observeTicks(Song& song, TickLog& log, std::int32_t startOrder) {
    if (song.tickHandler != observedTick) {
        observer.tick = song.tickHandler;
        song.tickHandler = observedTick;
    }
    observer.log = &log;
    observer.nextFrame = 0;
    observer.startOrder = startOrder;
    log.clear();
}

void stopObserving(Song& song) {
    if (song.tickHandler == observedTick) {
        song.tickHandler = observer.tick;
    }
}

} // namespace omra::tools
