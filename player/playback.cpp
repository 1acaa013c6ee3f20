#include "player/playback.h"

#include "player/audio_thread.h"
#include "player/mixer.h"
#include "player/player.h"
#include "records/tempo.h"

#include <chrono>
#include <new>
#include <thread>

namespace omra {

namespace {

WaveDevice* waveDevice = nullptr;
std::thread audioThreadHandle;

void waitWhileMixing() {
    while (audioFlags.blockBeingMixed.load()) {
    }
}

} // namespace

void setWaveDevice(WaveDevice* device) {
    waveDevice = device;
}

void resetPlayback(PlayerState& state, Song& song) {
    for (std::int32_t i = 0; i < VoiceCount; ++i) {
        state.voices[i] = Voice{};
        state.voices[i].index = i;
        state.voices[i].step = 1;
        state.voices[i].stepFraction = 0;
    }
    for (std::int32_t i = 0; i < song.channelCount; ++i) {
        state.channels[i] = Channel{};
        state.channels[i].voice = &state.voices[i];
    }
    song.globalVolume = song.initialGlobalVolume;
    song.nextOrder = -1;
    song.nextRow = -1;
    song.speed = song.defaultSpeed;
    song.row = 0;
    song.orderPosition = 0;
    song.framesToTick = 0;
    song.tick = 0;
    song.patternDelay = 0;
    setTempo(song, song.defaultBpm);
    state.currentSong = &song;
    song.player = &state;
}

bool createRings(PlayerState& state) {
    state.pcmRing.reset(new (std::nothrow) std::int16_t[2 * RingFrames]());
    state.floatRing.reset(new (std::nothrow) float[2 * RingFrames]());
    return state.pcmRing && state.floatRing;
}

void startAtOrder(Song& song, std::int32_t order) {
    if (order != 0) {
        song.nextOrder = order;
        song.nextRow = 0;
    }
}

bool startPlayback(Song* song) {
    stopPlayback(song);
    if (song == nullptr || !player.fileCallbacks.complete()) {
        return false;
    }
    resetPlayback(player, *song);
    if (waveDevice == nullptr || !waveDevice->open()) {
        return false;
    }
    if (!createRings(player)) {
        return false;
    }
    waveDevice->prepare(player.pcmRing.get(), RingFrames * BytesPerFrame);
    // The whole ring holds music before the device starts.
    do {
        mixBlock(player);
    } while (player.writeBlock != 0);
    waveDevice->start();
    audioFlags.stopRequest.store(false);
    audioFlags.threadEnded.store(false);
    audioThreadHandle = std::thread(audioThread, std::ref(*waveDevice));
    return true;
}

bool stopPlayback(Song* song) {
    if (song == nullptr) {
        return false;
    }
    audioFlags.stopRequest.store(true);
    waitWhileMixing();
    if (audioThreadHandle.joinable()) {
        while (!audioFlags.threadEnded.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        audioThreadHandle.join();
    }
    if (waveDevice != nullptr) {
        waveDevice->reset();
    }
    player.floatRing.reset();
    if (player.pcmRing) {
        if (waveDevice != nullptr) {
            waveDevice->unprepare();
        }
        player.pcmRing.reset();
    }
    player.currentSong = nullptr;
    if (waveDevice != nullptr) {
        waveDevice->close();
    }
    player.writeBlock = 0;
    return true;
}

} // namespace omra
