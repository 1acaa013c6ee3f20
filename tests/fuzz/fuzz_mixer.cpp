// Plays one voice as a note start leaves it (any sample and loop, any pitch the sequencer can
// set, any start inside the sample) through the mixer for a few dozen blocks of varying length,
// with its gains changed now and then. A few microseconds an input, so millions of pitch, loop
// and position combinations are tried where the module target plays a few hundred songs: a
// mixer that never returns, or reads outside its sample, shows up as a hang or a sanitizer
// report.
#include "player/mixer.h"
#include "sequencer/pitch.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace omra;

constexpr std::int32_t Blocks = 64;

// Reads the input front to back; bytes past its end read as zero.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint32_t next(int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint32_t>(used_ < size_ ? data_[used_] : 0) << (8 * i);
            ++used_;
        }
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

// A sample as the loader leaves one: its loop inside it, the loop guard written behind the loop
// and the tail slots zero.
std::unique_ptr<Sample> sampleFrom(Input& in) {
    auto sample = std::make_unique<Sample>();
    const std::uint32_t mode = in.next(1) % 3;
    sample->loopMode = mode == 0 ? NoLoop : mode == 1 ? ForwardLoop : PingPongLoop;
    sample->loopStart = in.next(1) % 64;
    sample->loopLength = 1 + in.next(2) % 1024;
    sample->length = sample->loopStart + sample->loopLength + in.next(1) % 16;
    if (sample->loopMode == NoLoop) {
        sample->loopStart = 0;
        sample->loopLength = sample->length;
    }
    sample->bits = 16;
    sample->data = std::make_unique<std::int16_t[]>(sample->length + SampleTailSlots);
    for (std::uint32_t i = 0; i < sample->length; ++i) {
        sample->data[i] = static_cast<std::int16_t>(in.next(2));
    }
    writeLoopGuard(*sample);
    return sample;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint32_t frequency = in.next(4) & 0x7FFFFFFF;
    const std::uint32_t start = in.next(2);
    const std::uint32_t gains = in.next(2);
    const std::uint32_t blockLengths = in.next(4);
    const std::unique_ptr<Sample> sample = sampleFrom(in);

    VoicePool voices{};
    Voice& voice = voices[0];
    voice.sample = sample.get();
    voice.direction = Forward;
    voice.position = start % (sample->loopStart + sample->loopLength);
    voice.gainLeft = static_cast<std::int32_t>(gains & 0xFF);
    voice.gainRight = static_cast<std::int32_t>(gains >> 8);
    setVoiceFrequency(voice, static_cast<std::int32_t>(frequency));

    std::vector<float> out(2 * BlockFrames);
    for (std::int32_t block = 0; block < Blocks && voice.sample != nullptr; ++block) {
        // Whole blocks, and pieces of them as ticks cut them.
        const std::uint32_t choice = blockLengths >> (block % 16 * 2) & 3;
        const std::int32_t frames = choice == 0 ? BlockFrames : 1 + (block * 97 + 13) % BlockFrames;
        if (choice == 3) {
            voice.gainLeft = (voice.gainLeft + 77) % 256; // a new ramp
        }
        std::fill(out.begin(), out.end(), 0.0f);
        mixVoices(voices, out.data(), frames);
    }
    return 0;
}
