#include "player/wave_device_waveout.h"

#include "records/mix_constants.h"

// The multimedia header needs the types of windows.h first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace omra {

namespace {

// One WAVEHDR for the whole ring, flagged to loop over it without end.
class WaveOutDevice final : public WaveDevice {
public:
    bool open() override {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = Channels;
        format.nSamplesPerSec = MixRate;
        format.nAvgBytesPerSec = MixRate * BytesPerFrame;
        format.nBlockAlign = BytesPerFrame;
        format.wBitsPerSample = 16;
        format.cbSize = 0;
        return waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
    }

    void prepare(const std::int16_t* ring, std::uint32_t bytes) override {
        header_ = WAVEHDR{};
        header_.lpData = reinterpret_cast<LPSTR>(const_cast<std::int16_t*>(ring));
        header_.dwBufferLength = bytes;
        header_.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
        header_.dwLoops = 0xFFFFFFFF;
        waveOutPrepareHeader(device_, &header_, sizeof header_);
    }

    void start() override { waveOutWrite(device_, &header_, sizeof header_); }

    std::uint32_t playedBytes() override {
        MMTIME time{};
        time.wType = TIME_BYTES;
        waveOutGetPosition(device_, &time, sizeof time);
        return time.u.cb;
    }

    // The system's wave output reads the ring through the driver, not on a thread of ours.
    void ringRewritten() override {}

    void reset() override { waveOutReset(device_); }

    void unprepare() override {
        waveOutUnprepareHeader(device_, &header_, sizeof header_);
        header_.dwFlags &= ~WHDR_PREPARED;
    }

    void close() override {
        waveOutClose(device_);
        device_ = nullptr;
    }

    void raiseAudioThreadPriority() override {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    }

private:
    HWAVEOUT device_ = nullptr;
    WAVEHDR header_{};
};

} // namespace

WaveDevice& waveOutDevice() {
    static WaveOutDevice device;
    return device;
}

} // namespace omra
