#pragma once

#include "records/song.h"
#include "records/voice.h"

#include <cstdint>

// How a voice moves through its sample: its position and step as unsigned 32.32 numbers, the
// frames it plays before its next boundary, and where it goes on from there.
namespace omra {

inline constexpr std::uint64_t toFixed(std::uint32_t integer, std::uint32_t fraction) {
    return (std::uint64_t{integer} << 32) | fraction;
}

inline constexpr std::uint32_t integerPart(std::uint64_t fixed) {
    return static_cast<std::uint32_t>(fixed >> 32);
}

// A voice advances by dropping the fraction's lowest bit and then adding the step (backward:
// the step's two's-complement negation), so a step always lands on an even fraction plus the
// step's own lowest bit. That bit never reaches what is read: the weight leaves it out. So the
// frames of a segment are read at a fixed stride from the position with that bit dropped.
inline std::uint64_t firstRead(std::uint64_t position) {
    return position & ~std::uint64_t{1};
}

inline std::uint64_t readStride(std::uint64_t delta) {
    return delta & ~std::uint64_t{1};
}

// Where `frames` steps take a position: the first drops the position's own lowest fraction
// bit, each later one the lowest bit its predecessor added, that of the step.
inline std::uint64_t advanceBy(std::uint64_t position, std::uint64_t delta, std::int32_t frames) {
    if (frames <= 0) {
        return position;
    }
    const auto laterSteps = static_cast<std::uint64_t>(frames - 1);
    return firstRead(position) + laterSteps * readStride(delta) + delta;
}

struct BoundarySegment {
    std::int32_t frames;
    bool endsAtBoundary;
};

// How many of `remaining` frames a voice plays before it reaches its boundary: the loop end
// (or, beyond it, the sample end) moving forward, the loop start moving backward.
BoundarySegment segmentToBoundary(const Sample& sample, std::int32_t direction,
                                  std::uint64_t position, std::uint64_t step,
                                  std::int32_t remaining);

// Takes a position that reached its boundary on into the sample's loop: wrapped round a
// forward loop, reflected in a ping-pong loop (which turns the direction). False when the
// sample has no loop to go on in: the voice ends there.
bool passBoundary(const Sample& sample, std::uint64_t& position, std::int32_t& direction);

} // namespace omra
