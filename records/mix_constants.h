#pragma once

#include <cstdint>

namespace omra {

// The output: MixRate frames a second of Channels signed 16-bit values, left first.
inline constexpr std::int32_t MixRate = 44100;
inline constexpr std::int32_t Channels = 2;
inline constexpr std::int32_t BytesPerFrame = Channels * sizeof(std::int16_t);
// 20 ms, rounded up to a multiple of 4 frames.
inline constexpr std::int32_t BlockFrames = (MixRate * 20 / 1000 + 3) & ~3;
// A 1000 ms buffer setting: 1000 / 20 blocks, doubled.
inline constexpr std::int32_t RingFrames = (1000 / 20) * BlockFrames * 2;
inline constexpr std::int32_t RingBlocks = RingFrames / BlockFrames;
inline constexpr std::int32_t RampFrames = MixRate * 128 / 44100;

static_assert(BlockFrames == 884);
static_assert(RingFrames == 88400);
static_assert(RingBlocks == 100);
static_assert(RampFrames == 128);

} // namespace omra
