#include "player/mixer.h"

#include "player/mix_constants.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace omra {

namespace {

// 1/255 as the single-precision constant every gain is scaled by; 255 x GainUnit is exactly 1.0f.
constexpr float GainUnit = 0.003921569f;
constexpr float LevelUnit = 1.0f / 256.0f; // 8.8 level to gain
constexpr float RampUnit = 1.0f / 128.0f;  // a ramp spreads the change over RampFrames frames
constexpr float WeightUnit = 0x1p-31f;     // top 31 fraction bits to an interpolation weight

// Stands in for the fraction of a step that is exactly 0 when counting frames to the boundary:
// 256/44100 of a frame, rounded.
constexpr std::uint32_t ZeroStepFraction = 0x017C6F8C;
// A voice a note start set up mixes at least a frame after at most two boundaries in a row (a
// wrap can land a hair short of the loop end once more). Any more and its position and direction
// contradict its loop, which would keep the block from ending: the voice stops instead.
constexpr std::int32_t MaxFramelessPasses = 4;
// Frames to a boundary are counted from distance and step at 24.8 precision: one unit of that
// count, 2^-24 frame, is 256 units of a 32.32 position.
constexpr std::uint64_t CountUnit = std::uint64_t{1} << 8;

constexpr std::uint64_t toFixed(std::uint32_t integer, std::uint32_t fraction) {
    return (std::uint64_t{integer} << 32) | fraction;
}

constexpr std::uint32_t integerPart(std::uint64_t fixed) {
    return static_cast<std::uint32_t>(fixed >> 32);
}

// Frames until a distance of `distance` (32.32) is covered at `step` (32.32), rounded up.
// Both are taken at 24.8 precision so that the quotient fits comfortably in 64 bits.
std::uint64_t framesToCover(std::uint64_t distance, std::uint64_t step) {
    if (step == 0) {
        step = ZeroStepFraction;
    }
    // (step << 24) | (stepFraction >> 8) for every step below 256 frames; deliberately 64 bits
    // wide, so that a wider step keeps its high bits instead of wrapping to a small divisor and
    // a count far past its boundary
    // (MixerLoop.PingPongStepOfManyRoundTripsEndsWhereReflectingOneByOneDoes).
    std::uint64_t divisor = step / CountUnit;
    if (divisor == 0) {
        divisor = 1; // a step below 2^-24 frame
    }
    const std::uint64_t dividend = distance / CountUnit;
    return dividend / divisor + (dividend % divisor != 0 ? 1 : 0);
}

// The pair of frames i and i + 1 that a position interpolates between.
struct FramePair {
    std::int32_t here;
    std::int32_t next;
};

inline FramePair framesAt(const std::int16_t* data, std::uint64_t position) {
    const std::uint32_t i = integerPart(position);
    if (i == UINT32_MAX) {
        // Deliberately not d[2^32 - 1]: moving backward, a frame can fall a hair below a loop
        // start at frame 0, which mirrors there as the loop guard mirrors the end.
        // (MixerLoop.PingPongLoopAtFrameZeroKeepsThePositionInsideTheData)
        return {data[0], data[0]};
    }
    return {data[i], data[i + 1]};
}

// The interpolation weight is the fraction's top 31 bits, read as a signed integer.
inline std::int32_t weightBits(std::uint64_t position) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) >> 1);
}

// Linear interpolation between frames i and i + 1 at the weight held in the fraction's top 31
// bits: v = d[i] + (d[i + 1] - d[i]) x w.
inline float sampleAt(const std::int16_t* data, std::uint64_t position) {
    const FramePair pair = framesAt(data, position);
    const float weight = static_cast<float>(weightBits(position)) * WeightUnit;
    return static_cast<float>(pair.here) + static_cast<float>(pair.next - pair.here) * weight;
}

// The fraction's lowest bit is dropped before every step (backward: the step's two's-complement
// negation is added), so a step always lands on an even fraction plus the step's own.
inline std::uint64_t advance(std::uint64_t position, std::uint64_t delta) {
    return (position & ~std::uint64_t{1}) + delta;
}

// Where `frames` calls of advance take a position: the first drops the position's own lowest
// fraction bit, each later one the lowest bit its predecessor added, that of the step.
inline std::uint64_t advanceBy(std::uint64_t position, std::uint64_t delta, std::int32_t frames) {
    if (frames <= 0) {
        return position;
    }
    const auto laterSteps = static_cast<std::uint64_t>(frames - 1);
    return (position & ~std::uint64_t{1}) + laterSteps * (delta & ~std::uint64_t{1}) + delta;
}

using Floats4 = float __attribute__((vector_size(16)));
using Ints4 = std::int32_t __attribute__((vector_size(16)));

inline Floats4 load4(const float* from) {
    Floats4 values;
    std::memcpy(&values, from, sizeof values);
    return values;
}

inline void store4(float* to, Floats4 values) {
    std::memcpy(to, &values, sizeof values);
}

// Mixes `frames` frames at fixed multipliers, four frames per iteration. Each lane does one
// frame's arithmetic exactly as sampleAt does, in the same order and precision, so the sums
// are bit for bit those of mixing one frame at a time.
std::uint64_t mixSteady(const std::int16_t* data, std::uint64_t position, std::uint64_t delta,
                        float left, float right, float* out, std::int32_t frames) {
    std::int32_t frame = 0;
    for (; frame + 4 <= frames; frame += 4) {
        const std::uint64_t p0 = position;
        const std::uint64_t p1 = advance(p0, delta);
        const std::uint64_t p2 = advance(p1, delta);
        const std::uint64_t p3 = advance(p2, delta);
        position = advance(p3, delta);
        const FramePair f0 = framesAt(data, p0);
        const FramePair f1 = framesAt(data, p1);
        const FramePair f2 = framesAt(data, p2);
        const FramePair f3 = framesAt(data, p3);
        const Ints4 here{f0.here, f1.here, f2.here, f3.here};
        const Ints4 next{f0.next, f1.next, f2.next, f3.next};
        const Ints4 weight{weightBits(p0), weightBits(p1), weightBits(p2), weightBits(p3)};
        const Floats4 value = __builtin_convertvector(here, Floats4) +
                              __builtin_convertvector(next - here, Floats4) *
                                  (__builtin_convertvector(weight, Floats4) * WeightUnit);
        const Floats4 toLeft = value * left;
        const Floats4 toRight = value * right;
        store4(out, load4(out) + __builtin_shufflevector(toLeft, toRight, 0, 4, 1, 5));
        store4(out + 4, load4(out + 4) + __builtin_shufflevector(toLeft, toRight, 2, 6, 3, 7));
        out += 8;
    }
    for (; frame < frames; ++frame) {
        const float value = sampleAt(data, position);
        out[0] += value * left;
        out[1] += value * right;
        position = advance(position, delta);
        out += 2;
    }
    return position;
}

// Mixes `frames` frames while the multipliers move by their ramp steps after every frame.
std::uint64_t mixRamp(const std::int16_t* data, std::uint64_t position, std::uint64_t delta,
                      float& left, float& right, float stepLeft, float stepRight, float* out,
                      std::int32_t frames) {
    for (std::int32_t frame = 0; frame < frames; ++frame) {
        const float value = sampleAt(data, position);
        out[0] += value * left;
        out[1] += value * right;
        left += stepLeft;
        right += stepRight;
        position = advance(position, delta);
        out += 2;
    }
    return position;
}

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

void stopVoice(Voice& voice) {
    voice.sample = nullptr;
    voice.position = 0;
    voice.positionFraction = 0;
}

// Takes a position that crossed the end of a forward loop back inside it. Equal to subtracting
// loopLength once and then again while the integer part is still at least the loop end
// (compared unsigned), without the repetitions.
std::uint64_t wrapForward(std::uint64_t position, std::uint32_t loopStart,
                          std::uint32_t loopLength) {
    const std::uint32_t loopEnd = loopStart + loopLength;
    const std::uint64_t end = toFixed(loopEnd, 0);
    if (loopStart == 0 && position < end && end - position < CountUnit) {
        // Counted at 24.8 precision, the frames to the end can leave the position up to 2^-24
        // frame short of it. Taking the loop length off that would fall below frame 0 and wrap
        // round to another frame of the loop, or for a power-of-two length to this very
        // position, which then never gets further. Such a position is at the end.
        position = end;
    }
    std::uint32_t integer = integerPart(position) - loopLength;
    if (integer >= loopEnd) {
        integer = loopStart + (integer - loopEnd) % loopLength;
    }
    return toFixed(integer, static_cast<std::uint32_t>(position));
}

// Reflects a position that crossed an end of a ping-pong loop: past the end E it becomes
// 2E - p - 2^-32 moving backward, past the start S it becomes 2S - p - 2^-32 moving forward,
// until it no longer lies beyond the opposite end. Deliberately compared as signed, not
// unsigned: a position that overshot below frame 0 is below the start, not 2^32 frames past the
// end (MixerLoop.PingPongLoopAtFrameZeroKeepsThePositionInsideTheData).
std::uint64_t reflect(std::uint64_t position, std::int32_t& direction, std::uint32_t loopStart,
                      std::uint32_t loopLength) {
    const std::uint64_t start = toFixed(loopStart, 0);
    const std::uint64_t end = toFixed(loopStart + loopLength, 0);
    const auto below = [](std::uint64_t a, std::uint64_t b) {
        return static_cast<std::int64_t>(a) < static_cast<std::int64_t>(b);
    };
    // Two reflections in a row move the position by twice the loop length and keep the
    // direction. A step of thousands of frames over a loop of a few would take thousands of them
    // every frame, so all round trips but the last two reflections are taken at once: forward
    // while the overshoot is at least a round trip, backward while it is more than one.
    const std::uint64_t roundTrip = 2 * toFixed(loopLength, 0);
    const auto overshoot =
        static_cast<std::int64_t>(direction == Forward ? position - end : start - position);
    if (loopLength <= INT32_MAX && overshoot > 0) {
        const auto distance = static_cast<std::uint64_t>(overshoot);
        if (direction == Forward) {
            position -= distance / roundTrip * roundTrip;
        } else if (distance > roundTrip) {
            position += (distance - 1) / roundTrip * roundTrip;
        }
    }
    for (;;) {
        if (direction == Forward) {
            position = 2 * end - position - 1;
            direction = Backward;
            if (!below(position, start)) {
                break;
            }
        } else {
            position = 2 * start - position - 1;
            direction = Forward;
            if (below(position, end)) {
                break;
            }
        }
    }
    if (below(position, 0)) {
        // Only a loop starting at frame 0, reflected from exactly frame 0, lands at -2^-32;
        // hold it at frame 0, which reads the same value.
        position = 0;
    }
    return position;
}

// Where `frames` frames take a voice, as a distance from its position with the lowest fraction
// bit dropped: the first frame moves by the step, each later one drops the bit the step before
// added, which forward shortens an odd step by one unit and backward lengthens it by one.
// Saturates instead of wrapping.
std::uint64_t movedAfter(std::uint64_t frames, std::uint64_t step, bool forward) {
    const std::uint64_t later = forward ? step & ~std::uint64_t{1} : step + (step & 1);
    std::uint64_t moved = 0;
    if (__builtin_mul_overflow(frames - 1, later, &moved) ||
        __builtin_add_overflow(moved, step, &moved)) {
        return UINT64_MAX;
    }
    return moved;
}

// The fewest frames after which a voice has moved `needed`, as movedAfter counts; for a voice
// that movedAfter has seen get there (so a step shorter than `needed` has later steps too).
std::uint64_t framesToMove(std::uint64_t needed, std::uint64_t step, bool forward) {
    if (step >= needed) {
        return 1;
    }
    const std::uint64_t later = forward ? step & ~std::uint64_t{1} : step + (step & 1);
    const std::uint64_t rest = needed - step;
    return 1 + rest / later + (rest % later != 0 ? 1 : 0);
}

struct BoundarySegment {
    std::int32_t frames;
    bool endsAtBoundary;
};

// How many of `remaining` frames a voice plays before it reaches its boundary: the loop end
// (or, beyond it, the sample end) moving forward, the loop start moving backward.
BoundarySegment segmentToBoundary(const Voice& voice, const Sample& sample, std::uint64_t position,
                                  std::uint64_t step, std::int32_t remaining) {
    if (sample.data == nullptr) {
        return {0, true}; // nothing to read: the boundary is here
    }
    const bool forward = voice.direction == Forward;
    const std::uint32_t loopEnd = sample.loopStart + sample.loopLength;
    std::uint64_t distance = 0;
    if (forward) {
        const std::uint32_t end = integerPart(position) > loopEnd ? sample.length : loopEnd;
        const std::uint64_t boundary = toFixed(end, 0);
        if (position >= boundary) {
            // Already at or past it: the plain difference would wrap round to a distance too
            // far to count, and the voice would run on past its data.
            return {0, true};
        }
        distance = boundary - position;
    } else {
        const std::uint64_t boundary = toFixed(sample.loopStart, 0);
        if (position <= boundary) {
            return {0, true};
        }
        distance = position - boundary;
    }
    std::uint64_t count = framesToCover(distance, step);
    // Taken at 24.8 precision, the count can come out too high, so that the voice would cross
    // the boundary before the segment ends and read past it. It never runs past the frame that
    // really gets there; the division is needed only when the count is out.
    const std::uint64_t needed = forward ? distance + (position & 1) : distance - (position & 1);
    const std::uint64_t checked = std::min(count, static_cast<std::uint64_t>(remaining) + 1);
    if (checked > 1 && movedAfter(checked - 1, step, forward) >= needed) {
        count = framesToMove(needed, step, forward);
    }
    if (count > static_cast<std::uint64_t>(remaining)) {
        return {remaining, false};
    }
    return {static_cast<std::int32_t>(count), true};
}

void mixVoice(Voice& voice, float* out, std::int32_t frames) {
    const Sample& sample = *voice.sample;
    const std::int16_t* data = sample.data.get();
    const std::uint32_t loopStart = sample.loopStart;
    const std::uint64_t step = toFixed(voice.step, voice.stepFraction);
    std::uint64_t position = toFixed(voice.position, voice.positionFraction);
    std::int32_t remaining = frames;
    std::int32_t framelessPasses = 0;

    for (;;) {
        const BoundarySegment bounded = segmentToBoundary(voice, sample, position, step, remaining);
        std::int32_t segment = bounded.frames;
        bool atBoundary = bounded.endsAtBoundary;

        // Ramp: go on with the running one while the targets stay, otherwise head for the
        // current gains from the current levels.
        std::int32_t rampLength = 0;
        if (voice.rampFrames > 0 && voice.gainLeft == voice.rampGainLeft &&
            voice.gainRight == voice.rampGainRight) {
            rampLength = voice.rampFrames;
        } else {
            voice.rampGainLeft = voice.gainLeft;
            voice.rampGainRight = voice.gainRight;
            const std::int32_t diffLeft = voice.gainLeft - (voice.levelLeft >> 8);
            const std::int32_t diffRight = voice.gainRight - (voice.levelRight >> 8);
            voice.rampStepLeft = diffLeft != 0 ? rampStep(diffLeft) : 0.0f;
            voice.rampStepRight = diffRight != 0 ? rampStep(diffRight) : 0.0f;
            if (diffLeft != 0 || diffRight != 0) {
                rampLength = RampFrames;
            }
            // Deliberately, with no ramp needed rampFrames keeps whatever it held.
        }
        if (rampLength > 0) {
            voice.rampFrames = rampLength;
            if (segment > rampLength) {
                // The ramp ends first; the boundary waits for a later segment.
                segment = rampLength;
                atBoundary = false;
            }
        }

        const std::uint64_t delta = voice.direction == Forward ? step : 0 - step;
        if (segment > 0) {
            if (rampLength > 0) {
                float left = levelMultiplier(voice.levelLeft);
                float right = levelMultiplier(voice.levelRight);
                position = mixRamp(data, position, delta, left, right, voice.rampStepLeft,
                                   voice.rampStepRight, out, segment);
                // Levels follow the ramp; at its end they sit exactly on the gains.
                voice.levelLeft = levelOf(left);
                voice.levelRight = levelOf(right);
                voice.rampFrames -= segment;
                if (voice.rampFrames <= 0) {
                    voice.rampFrames = 0;
                    voice.rampStepLeft = 0.0f;
                    voice.rampStepRight = 0.0f;
                    voice.levelLeft = voice.gainLeft * 256;
                    voice.levelRight = voice.gainRight * 256;
                }
            } else if (voice.gainLeft == 0 && voice.gainRight == 0) {
                // A silent voice (one ramped out to make room for a new note, or faded to
                // nothing) plays on: it moves, but adds only zeros, which change no sum.
                position = advanceBy(position, delta, segment);
            } else {
                const float left = static_cast<float>(voice.gainLeft) * GainUnit;
                const float right = static_cast<float>(voice.gainRight) * GainUnit;
                position = mixSteady(data, position, delta, left, right, out, segment);
            }
            out += 2 * segment;
            remaining -= segment;
        }

        // At the boundary: loop, reflect or stop.
        framelessPasses = segment > 0 ? 0 : framelessPasses + 1;
        if (atBoundary) {
            const bool loops =
                data != nullptr && sample.loopLength != 0 && framelessPasses <= MaxFramelessPasses;
            if (loops && sample.loopMode == ForwardLoop) {
                position = wrapForward(position, loopStart, sample.loopLength);
            } else if (loops && sample.loopMode == PingPongLoop) {
                position = reflect(position, voice.direction, loopStart, sample.loopLength);
            } else {
                stopVoice(voice);
                return;
            }
        }
        // Otherwise the segment ran to the end of the output or of the ramp.
        voice.position = integerPart(position);
        voice.positionFraction = static_cast<std::uint32_t>(position);
        if (remaining <= 0) {
            return;
        }
    }
}

} // namespace

void mixVoices(VoicePool& voices, float* out, std::int32_t frames) {
    if (frames <= 0) {
        return;
    }
    for (Voice& voice : voices) {
        if (voice.sample != nullptr) {
            mixVoice(voice, out, frames);
        }
    }
}

void convertBlock(std::int16_t* destination, const float* source, std::int32_t frames) {
    for (std::int32_t i = 0; i < 2 * frames; ++i) {
        const float value = source[i];
        std::int32_t converted = 0;
        if (value > 32767.0f) {
            converted = 32767;
        } else if (value < -32768.0f) {
            converted = -32768;
        } else {
            converted = static_cast<std::int32_t>(std::lrint(value)); // ties to even
        }
        destination[i] = static_cast<std::int16_t>(converted);
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
            mixVoices(state.voices, block + std::ptrdiff_t{2} * done, frames);
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
