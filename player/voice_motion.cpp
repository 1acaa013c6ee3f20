#include "player/voice_motion.h"

#include <algorithm>

namespace omra {

namespace {

// Stands in for the fraction of a step that is exactly 0 when counting frames to the boundary:
// 256/44100 of a frame, rounded.
constexpr std::uint32_t ZeroStepFraction = 0x017C6F8C;
// Frames to a boundary are counted from distance and step at 24.8 precision: one unit of that
// count, 2^-24 frame, is 256 units of a 32.32 position.
constexpr std::uint64_t CountUnit = std::uint64_t{1} << 8;

// Frames until a distance of `distance` (32.32) is covered at `step` (32.32), rounded up, or
// limit + 1 for any count above `limit`. Both are taken at 24.8 precision so that the quotient
// fits comfortably in 64 bits.
std::uint64_t framesToCover(std::uint64_t distance, std::uint64_t step, std::uint64_t limit) {
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
    // Most segments end before their boundary; a multiplication tells so sooner than a division.
    std::uint64_t reach = 0;
    if (!__builtin_mul_overflow(divisor, limit, &reach) && dividend > reach) {
        return limit + 1;
    }
    return dividend / divisor + (dividend % divisor != 0 ? 1 : 0);
}

// Takes a position that crossed the end of a forward loop back inside it. Equal to subtracting
// loopLength once and then again while the integer part is still at least the loop end
// (compared unsigned), without the repetitions.
std::uint64_t wrapForward(std::uint64_t position, std::uint32_t loopStart,
                          std::uint32_t loopLength) {
    const std::uint32_t loopEnd = loopStart + loopLength;
    const std::uint64_t end = toFixed(loopEnd, 0);
    if (loopStart == 0 && position < end && end - position <= CountUnit) {
        // Counted at 24.8 precision, the frames to the end can leave the position up to 2^-24
        // frame short of it. Taking the loop length off that would fall below frame 0 and wrap
        // round to another frame of the loop, or for a power-of-two length to this very
        // position, which then never gets further. Such a position is at the end
        // (MixerLoop.ForwardLoopFromFrameZeroTakesAPositionAHairShortOfItsEndAsAtIt).
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
            if (distance >= roundTrip) {
                position -= distance / roundTrip * roundTrip;
            }
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

// How far each frame after a segment's first moves the voice: that frame drops the bit the step
// before added, which forward shortens an odd step by one unit and backward lengthens it by one.
std::uint64_t laterStep(std::uint64_t step, bool forward) {
    return forward ? step & ~std::uint64_t{1} : step + (step & 1);
}

// Where `frames` frames take a voice, as a distance from its position with the lowest fraction
// bit dropped: the first frame moves by the step, each later one by laterStep. Saturates instead
// of wrapping.
std::uint64_t movedAfter(std::uint64_t frames, std::uint64_t step, bool forward) {
    const std::uint64_t later = laterStep(step, forward);
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
    const std::uint64_t later = laterStep(step, forward);
    const std::uint64_t rest = needed - step;
    return 1 + rest / later + (rest % later != 0 ? 1 : 0);
}

} // namespace

BoundarySegment segmentToBoundary(const Sample& sample, std::int32_t direction,
                                  std::uint64_t position, std::uint64_t step,
                                  std::int32_t remaining) {
    if (sample.data == nullptr) {
        return {0, true}; // nothing to read: the boundary is here
    }
    const bool forward = direction == Forward;
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
    const auto frames = static_cast<std::uint64_t>(remaining);
    // Deliberately any distance is counted, however far: a boundary 2^24 frames or more away is
    // not taken as out of the block's reach, since a voice of some 837 MHz on a sample of 16.8 M
    // frames or more does reach it, and running on to the output's end would read past the
    // sample's data (MixerStep.ABoundary2To24FramesOrMoreAwayStillEndsTheSegment).
    std::uint64_t count = framesToCover(distance, step, frames);
    // Taken at 24.8 precision, the count can come out too high, so that the voice would cross
    // the boundary before the segment ends and read past it. It never runs past the frame that
    // really gets there; the division is needed only when the count is out. That frame is then
    // read just inside the loop rather than just beyond it, which changes the sound, rarely and
    // by little: one frame of the block by one unit of the 16-bit output (in 30 of 40,000 random
    // one-voice blocks).
    const std::uint64_t needed = forward ? distance + (position & 1) : distance - (position & 1);
    const std::uint64_t checked = std::min(count, frames + 1);
    if (checked > 1 && movedAfter(checked - 1, step, forward) >= needed) {
        count = framesToMove(needed, step, forward);
    }
    if (count > frames) {
        return {remaining, false};
    }
    return {static_cast<std::int32_t>(count), true};
}

bool passBoundary(const Sample& sample, std::uint64_t& position, std::int32_t& direction) {
    if (sample.data == nullptr || sample.loopLength == 0) {
        return false;
    }
    if (sample.loopMode == ForwardLoop) {
        position = wrapForward(position, sample.loopStart, sample.loopLength);
        return true;
    }
    if (sample.loopMode == PingPongLoop) {
        position = reflect(position, direction, sample.loopStart, sample.loopLength);
        return true;
    }
    return false;
}

} // namespace omra
