#include "player/mixer.h"

#include "player/voice_motion.h"
#include "records/mix_constants.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace omra {

namespace {

// 1/255 as the single-precision constant every gain is scaled by; 255 x GainUnit is exactly 1.0f.
constexpr float GainUnit = 0.003921569f;
constexpr float LevelUnit = 1.0f / 256.0f; // 8.8 level to gain
constexpr float RampUnit = 1.0f / 128.0f;  // a ramp spreads the change over RampFrames frames
constexpr float WeightUnit = 0x1p-31f;     // top 31 fraction bits to an interpolation weight

// A voice a note start set up mixes at least a frame after at most two boundaries in a row (a
// wrap can land a hair short of the loop end once more). Any more and its position and direction
// contradict its loop, which would keep the block from ending: the voice stops instead.
constexpr std::int32_t MaxFramelessPasses = 4;

// Frames i and i + 1 at once: adjacent 16-bit values, read as one 32-bit word with frame i in
// its low half.
inline std::uint32_t framePair(const std::int16_t* data, std::uint32_t i) {
    static_assert(std::endian::native == std::endian::little);
    std::uint32_t pair = 0;
    std::memcpy(&pair, data + i, sizeof pair);
    return pair;
}

// The interpolation weight is the fraction's top 31 bits, read as a signed integer.
inline std::int32_t weightBits(std::uint64_t position) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) >> 1);
}

// Linear interpolation between frames i and i + 1 at the weight held in the fraction's top 31
// bits: v = d[i] + (d[i + 1] - d[i]) x w.
inline float sampleAt(const std::int16_t* data, std::uint64_t position) {
    const std::uint32_t pair = framePair(data, integerPart(position));
    const std::int32_t here = static_cast<std::int16_t>(pair);
    const std::int32_t next = static_cast<std::int16_t>(pair >> 16);
    const float weight = static_cast<float>(weightBits(position)) * WeightUnit;
    return static_cast<float>(here) + static_cast<float>(next - here) * weight;
}

using Floats4 = float __attribute__((vector_size(16)));
using Ints4 = std::int32_t __attribute__((vector_size(16)));
using UInts4 = std::uint32_t __attribute__((vector_size(16)));
using U64s2 = std::uint64_t __attribute__((vector_size(16)));

inline Floats4 load4(const float* from) {
    Floats4 values;
    std::memcpy(&values, from, sizeof values);
    return values;
}

inline void store4(float* to, Floats4 values) {
    std::memcpy(to, &values, sizeof values);
}

// The read positions of four frames in a row, two to a vector, so that a 32-bit build keeps
// them in vector registers rather than in eight general ones it lacks.
struct FourPositions {
    U64s2 first;
    U64s2 second;
};

// Two positions in one vector, put together from their 32-bit halves: a 32-bit build holds a
// 64-bit number in two registers, and stored to memory as two halves and loaded back whole it
// would wait for the stores.
inline U64s2 positionPair(std::uint64_t first, std::uint64_t second) {
    const UInts4 halves{static_cast<std::uint32_t>(first), integerPart(first),
                        static_cast<std::uint32_t>(second), integerPart(second)};
    return reinterpret_cast<U64s2>(halves);
}

inline FourPositions fourPositions(std::uint64_t at, std::uint64_t stride) {
    return {positionPair(at, at + stride), positionPair(at + 2 * stride, at + 3 * stride)};
}

// Four frames' values, each with sampleAt's arithmetic in the same order and precision, so
// that they are bit for bit those of interpolating one frame at a time.
inline Floats4 sampleAt(const std::int16_t* data, const FourPositions& positions) {
    const auto first = reinterpret_cast<UInts4>(positions.first);
    const auto second = reinterpret_cast<UInts4>(positions.second);
    const UInts4 fractions = __builtin_shufflevector(first, second, 0, 2, 4, 6);
    const UInts4 frames = __builtin_shufflevector(first, second, 1, 3, 5, 7);
    const UInts4 pairs{framePair(data, frames[0]), framePair(data, frames[1]),
                       framePair(data, frames[2]), framePair(data, frames[3])};
    const Ints4 here = reinterpret_cast<Ints4>(pairs << 16) >> 16;
    const Ints4 next = reinterpret_cast<Ints4>(pairs) >> 16;
    const Ints4 weight = reinterpret_cast<Ints4>(fractions >> 1);
    return __builtin_convertvector(here, Floats4) +
           __builtin_convertvector(next - here, Floats4) *
               (__builtin_convertvector(weight, Floats4) * WeightUnit);
}

// Adds four frames to the interleaved output, each frame's value scaled by its pair of left
// and right multipliers: those of the first two frames, then those of the last two.
inline void addFour(float* out, Floats4 value, Floats4 firstTwo, Floats4 lastTwo) {
    store4(out, load4(out) + __builtin_shufflevector(value, value, 0, 0, 1, 1) * firstTwo);
    store4(out + 4, load4(out + 4) + __builtin_shufflevector(value, value, 2, 2, 3, 3) * lastTwo);
}

// Mixes `frames` frames at fixed multipliers from the read position `at`, four at a time.
void mixSteady(const std::int16_t* data, std::uint64_t at, std::uint64_t stride, float left,
               float right, float* out, std::int32_t frames) {
    FourPositions positions = fourPositions(at, stride);
    const U64s2 fourSteps = positionPair(4 * stride, 4 * stride);
    const Floats4 multipliers{left, right, left, right};
    std::int32_t frame = 0;
    for (; frame + 4 <= frames; frame += 4) {
        const Floats4 value = sampleAt(data, positions);
        positions.first += fourSteps;
        positions.second += fourSteps;
        addFour(out, value, multipliers, multipliers);
        out += 8;
    }
    for (at = positions.first[0]; frame < frames; ++frame) {
        const float value = sampleAt(data, at);
        out[0] += value * left;
        out[1] += value * right;
        at += stride;
        out += 2;
    }
}

// Mixes `frames` frames while the multipliers move by their ramp steps after every frame, four
// at a time. The left and right multipliers step together, as a pair in one vector, one frame
// after another, as the sums they make must; each frame's pair then scales that frame's value
// straight into its place in the interleaved output.
void mixRamp(const std::int16_t* data, std::uint64_t at, std::uint64_t stride, float& left,
             float& right, float stepLeft, float stepRight, float* out, std::int32_t frames) {
    FourPositions positions = fourPositions(at, stride);
    const U64s2 fourSteps = positionPair(4 * stride, 4 * stride);
    const Floats4 steps{stepLeft, stepRight, stepLeft, stepRight};
    Floats4 multipliers{left, right, left, right}; // this frame's pair in the low half
    std::int32_t frame = 0;
    for (; frame + 4 <= frames; frame += 4) {
        const Floats4 value = sampleAt(data, positions);
        positions.first += fourSteps;
        positions.second += fourSteps;
        const Floats4 second = multipliers + steps;
        const Floats4 third = second + steps;
        const Floats4 fourth = third + steps;
        const Floats4 firstTwo = __builtin_shufflevector(multipliers, second, 0, 1, 4, 5);
        const Floats4 lastTwo = __builtin_shufflevector(third, fourth, 0, 1, 4, 5);
        multipliers = fourth + steps;
        addFour(out, value, firstTwo, lastTwo);
        out += 8;
    }
    left = multipliers[0];
    right = multipliers[1];
    for (at = positions.first[0]; frame < frames; ++frame) {
        const float value = sampleAt(data, at);
        out[0] += value * left;
        out[1] += value * right;
        left += stepLeft;
        right += stepRight;
        at += stride;
        out += 2;
    }
}

// The output range, clamped to before rounding: a sum just above 32767 or below -32768 rounds
// to the bound it is clamped to either way.
constexpr float Loudest = 32767.0f;
constexpr float Quietest = -32768.0f;

// 8.8 level of a ramp multiplier, rounded to nearest, ties to even.
std::int32_t levelOf(float multiplier) {
    return static_cast<std::int32_t>(std::lrint(multiplier * 255.0f * 256.0f));
}

float levelMultiplier(std::int32_t level) {
    return static_cast<float>(level) * LevelUnit * GainUnit;
}

// Per-frame change of a multiplier that moves from `level` to `gain` over RampFrames frames.
float rampStep(std::int32_t diff) {
    return static_cast<float>(diff) * GainUnit * RampUnit;
}

// The ramp the next frames play under, as the frames it has left (0 for none): the running
// one goes on while the gains it heads for stay; otherwise a new one heads for the current
// gains from the current levels.
std::int32_t rampFramesFor(Voice& voice) {
    if (voice.rampFrames > 0 && voice.gainLeft == voice.rampGainLeft &&
        voice.gainRight == voice.rampGainRight) {
        return voice.rampFrames;
    }
    voice.rampGainLeft = voice.gainLeft;
    voice.rampGainRight = voice.gainRight;
    const std::int32_t diffLeft = voice.gainLeft - (voice.levelLeft >> 8);
    const std::int32_t diffRight = voice.gainRight - (voice.levelRight >> 8);
    voice.rampStepLeft = diffLeft != 0 ? rampStep(diffLeft) : 0.0f;
    voice.rampStepRight = diffRight != 0 ? rampStep(diffRight) : 0.0f;
    if (diffLeft == 0 && diffRight == 0) {
        return 0; // deliberately, rampFrames keeps whatever it held
    }
    voice.rampFrames = RampFrames;
    return RampFrames;
}

// Mixes `frames` frames of the voice from `position` moving by `delta` a frame: under its ramp,
// whose levels then follow it, or at its gains.
void mixFrames(Voice& voice, const std::int16_t* data, std::uint64_t position, std::uint64_t delta,
               bool ramped, float* out, std::int32_t frames) {
    const std::uint64_t at = firstRead(position);
    const std::uint64_t stride = readStride(delta);
    if (ramped) {
        float left = levelMultiplier(voice.levelLeft);
        float right = levelMultiplier(voice.levelRight);
        mixRamp(data, at, stride, left, right, voice.rampStepLeft, voice.rampStepRight, out,
                frames);
        voice.levelLeft = levelOf(left);
        voice.levelRight = levelOf(right);
        voice.rampFrames -= frames;
        if (voice.rampFrames <= 0) {
            // At its end a ramp sits exactly on the gains.
            voice.rampFrames = 0;
            voice.rampStepLeft = 0.0f;
            voice.rampStepRight = 0.0f;
            voice.levelLeft = voice.gainLeft * 256;
            voice.levelRight = voice.gainRight * 256;
        }
    } else if (voice.gainLeft != 0 || voice.gainRight != 0) {
        const float left = static_cast<float>(voice.gainLeft) * GainUnit;
        const float right = static_cast<float>(voice.gainRight) * GainUnit;
        mixSteady(data, at, stride, left, right, out, frames);
    }
    // Otherwise the voice is silent (ramped out to make room for a new note, or faded to
    // nothing): it moves on, but would add only zeros, which change no sum.
}

void stopVoice(Voice& voice) {
    voice.sample = nullptr;
    voice.position = 0;
    voice.positionFraction = 0;
}

// Plays the voice into `frames` frames of `out`, segment by segment: each runs to the voice's
// next boundary, the end of its ramp or the end of the output, whichever comes first.
void mixVoice(Voice& voice, float* out, std::int32_t frames) {
    const Sample& sample = *voice.sample;
    const std::uint64_t step = toFixed(voice.step, voice.stepFraction);
    std::uint64_t position = toFixed(voice.position, voice.positionFraction);
    std::int32_t remaining = frames;
    std::int32_t framelessPasses = 0;
    for (;;) {
        BoundarySegment segment =
            segmentToBoundary(sample, voice.direction, position, step, remaining);
        const std::int32_t ramp = rampFramesFor(voice);
        if (ramp > 0 && segment.frames > ramp) {
            segment = {ramp, false}; // the boundary waits for a later segment
        }
        if (segment.frames > 0) {
            const std::uint64_t delta = voice.direction == Forward ? step : 0 - step;
            mixFrames(voice, sample.data.get(), position, delta, ramp > 0, out, segment.frames);
            position = advanceBy(position, delta, segment.frames);
            out += 2 * segment.frames;
            remaining -= segment.frames;
            framelessPasses = 0;
        } else {
            ++framelessPasses;
        }
        if (segment.endsAtBoundary && (framelessPasses > MaxFramelessPasses ||
                                       !passBoundary(sample, position, voice.direction))) {
            stopVoice(voice);
            return;
        }
        voice.position = integerPart(position);
        voice.positionFraction = static_cast<std::uint32_t>(position);
        if (remaining <= 0) {
            return;
        }
    }
}

} // namespace

void mixVoices(VoicePool& voices, float* out, std::int32_t frames, std::uint64_t silent) {
    if (frames <= 0) {
        return;
    }
    for (std::size_t v = 0; v < voices.size(); ++v) {
        Voice& voice = voices[v];
        if (voice.sample == nullptr) {
            continue;
        }
        if ((silent >> v & 1) == 0) {
            mixVoice(voice, out, frames);
            continue;
        }
        // A silenced voice plays into a buffer nobody hears, a block at most at a time, so
        // that its position, loop and ramp move exactly as in the full mix.
        static float unheard[2 * BlockFrames];
        for (std::int32_t done = 0; done < frames && voice.sample != nullptr;) {
            const std::int32_t part = std::min(frames - done, BlockFrames);
            std::fill_n(unheard, 2 * part, 0.0f);
            mixVoice(voice, unheard, part);
            done += part;
        }
    }
}

void convertBlock(std::int16_t* destination, const float* source, std::int32_t frames) {
    const std::size_t values = 2 * static_cast<std::size_t>(std::max(frames, 0));
    std::size_t i = 0;
    // Eight values at a time with SSE2, which both builds target: clamped, rounded as the
    // processor is set to round (to nearest, ties to even, like lrint) and packed to 16 bits.
    const __m128 loudest = _mm_set1_ps(Loudest);
    const __m128 quietest = _mm_set1_ps(Quietest);
    for (; i + 8 <= values; i += 8) {
        const __m128 low = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i), quietest), loudest);
        const __m128 high = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i + 4), quietest), loudest);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(low), _mm_cvtps_epi32(high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), packed);
    }
    for (std::size_t rest = values % 8; rest > 0; --rest, ++i) {
        const float value = std::clamp(source[i], Quietest, Loudest);
        destination[i] = static_cast<std::int16_t>(std::lrint(value));
    }
}

void mixBlock(PlayerState& state) {
    float* block = state.floatRing.get() + std::ptrdiff_t{2} * state.writeBlock * BlockFrames;
    std::fill(block, block + 2 * BlockFrames, 0.0f);

    Song* song = state.currentSong;
    if (song == nullptr) {
        // No song, no ticks: whatever still sounds plays on.
        mixVoices(state.voices, block, BlockFrames);
    } else {
        std::int32_t framesLeft = song->framesToTick;
        std::int32_t done = 0;
        while (done < BlockFrames) {
            if (framesLeft <= 0) {
                if (song->tickHandler != nullptr) {
                    song->tickHandler(*song);
                }
                // Read after the handler: a tempo change made by this tick sets its own length.
                // At least one frame, deliberately: a tick of 0 frames (no tempo set) would call
                // the handler for ever and the block would never end.
                framesLeft = std::max(song->framesPerTick, 1);
            }
            const std::int32_t frames = std::min(framesLeft, BlockFrames - done);
            mixVoices(state.voices, block + std::ptrdiff_t{2} * done, frames, state.silentVoices);
            done += frames;
            framesLeft -= frames;
        }
        song->framesToTick = framesLeft; // a tick runs on across block ends
    }

    convertBlock(state.pcmRing.get() + std::ptrdiff_t{2} * state.writeBlock * BlockFrames, block,
                 BlockFrames);
    state.writeBlock = state.writeBlock + 1 == RingBlocks ? 0 : state.writeBlock + 1;
}

} // namespace omra
