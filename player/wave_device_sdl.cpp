#include "player/wave_device_sdl.h"

#include "records/mix_constants.h"

#include <SDL.h>
#include <atomic>
#include <cstring>
#include <pthread.h>
#include <sched.h>

namespace omra {

namespace {

// Plays the ring from SDL's audio callback, which copies from a cursor that wraps at the end of
// the ring and counts the bytes it handed over.
class SdlWaveDevice final : public WaveDevice {
public:
    bool open() override {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = MixRate;
        wanted.format = AUDIO_S16LSB;
        wanted.channels = Channels;
        wanted.samples = 1024;
        wanted.callback = &SdlWaveDevice::fill;
        wanted.userdata = this;
        // No changes allowed: SDL converts to whatever the hardware wants.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        cursor_ = 0;
        played_.store(0, std::memory_order_relaxed);
        return true;
    }

    void prepare(const std::int16_t* ring, std::uint32_t bytes) override {
        ring_ = reinterpret_cast<const std::uint8_t*>(ring);
        ringBytes_ = bytes;
    }

    void start() override {
        if (device_ != 0) {
            SDL_PauseAudioDevice(device_, 0);
        }
    }

    std::uint32_t playedBytes() override { return played_.load(std::memory_order_acquire); }

    // Pairs with the callback's acquire: the ring writes before it happen before every read of
    // the ring in a later callback.
    void ringRewritten() override { rewrites_.fetch_add(1, std::memory_order_release); }

    void reset() override {
        if (device_ != 0) {
            SDL_PauseAudioDevice(device_, 1);
        }
    }

    void unprepare() override {
        if (device_ != 0) {
            // Waits for a running callback to finish before the ring goes away.
            SDL_LockAudioDevice(device_);
            ring_ = nullptr;
            SDL_UnlockAudioDevice(device_);
        }
    }

    void close() override {
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_);
            device_ = 0;
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }

    void raiseAudioThreadPriority() override {
        // Real-time scheduling needs privileges most users lack; without them the thread keeps
        // its normal priority, which the 2-second ring tolerates.
        sched_param parameters{};
        parameters.sched_priority = sched_get_priority_max(SCHED_FIFO);
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
    }

private:
    static void fill(void* user, Uint8* stream, int length) {
        auto& self = *static_cast<SdlWaveDevice*>(user);
        self.rewrites_.load(std::memory_order_acquire);
        if (self.ring_ == nullptr) {
            std::memset(stream, 0, static_cast<std::size_t>(length));
            return;
        }
        auto remaining = static_cast<std::uint32_t>(length);
        while (remaining > 0) {
            const std::uint32_t chunk = std::min(remaining, self.ringBytes_ - self.cursor_);
            std::memcpy(stream, self.ring_ + self.cursor_, chunk);
            stream += chunk;
            remaining -= chunk;
            self.cursor_ = (self.cursor_ + chunk) % self.ringBytes_;
        }
        const std::uint32_t played = self.played_.load(std::memory_order_relaxed);
        self.played_.store(played + static_cast<std::uint32_t>(length), std::memory_order_release);
    }

    SDL_AudioDeviceID device_ = 0;
    const std::uint8_t* ring_ = nullptr;
    std::uint32_t ringBytes_ = 0;
    std::uint32_t cursor_ = 0; // touched by the callback only while playing
    std::atomic<std::uint32_t> played_{0};
    std::atomic<std::uint32_t> rewrites_{0};
};

} // namespace

WaveDevice& sdlWaveDevice() {
    static SdlWaveDevice device;
    return device;
}

} // namespace omra
