#include "player/mixer.h"
#include "records/mix_constants.h"
#include "records/player_state.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace omra {
namespace {

constexpr float InverseGain = 0.003921569f; // one gain step, 1/255 as a float
constexpr std::uint64_t FrameUnit = std::uint64_t{1} << 32;

// A sample holding `values`, with the tail slots zero and the loop guard written as a loaded
// sample has it: the loop start's value behind a forward loop, the last loop frame's value
// behind a ping-pong loop.
std::unique_ptr<Sample> makeSample(const std::vector<std::int16_t>& values, std::uint8_t loopMode,
                                   std::uint32_t loopStart, std::uint32_t loopLength) {
    auto sample = std::make_unique<Sample>();
    sample->length = static_cast<std::uint32_t>(values.size());
    sample->data = std::make_unique<std::int16_t[]>(values.size() + SampleTailSlots);
    for (std::size_t i = 0; i < values.size(); ++i) {
        sample->data[i] = values[i];
    }
    sample->loopMode = loopMode;
    sample->loopStart = loopStart;
    sample->loopLength = loopLength;
    sample->bits = 16;
    writeLoopGuard(*sample);
    return sample;
}

std::unique_ptr<Sample> oneShot(const std::vector<std::int16_t>& values) {
    return makeSample(values, NoLoop, 0, static_cast<std::uint32_t>(values.size()));
}

std::vector<std::int16_t> constantValues(std::size_t count, std::int16_t value) {
    return std::vector<std::int16_t>(count, value);
}

// Frame k holds k: a played value tells how far the voice has come.
std::vector<std::int16_t> countingValues(std::size_t count) {
    std::vector<std::int16_t> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = static_cast<std::int16_t>(i);
    }
    return values;
}

// Reproducible values over most of the 16-bit range.
std::vector<std::int16_t> noiseValues(std::size_t count) {
    std::vector<std::int16_t> values(count);
    std::uint32_t seed = 12345;
    for (auto& value : values) {
        seed = seed * 1664525u + 1013904223u;
        value = static_cast<std::int16_t>(static_cast<std::int32_t>(seed >> 16) - 32768);
    }
    return values;
}

// A voice already at its gains: its levels match them, so it mixes without a ramp.
Voice steadyVoice(const Sample& sample, std::int32_t gainLeft, std::int32_t gainRight) {
    Voice voice;
    voice.sample = &sample;
    voice.gainLeft = gainLeft;
    voice.gainRight = gainRight;
    voice.rampGainLeft = gainLeft;
    voice.rampGainRight = gainRight;
    voice.levelLeft = gainLeft * 256;
    voice.levelRight = gainRight * 256;
    voice.step = 1;
    voice.stepFraction = 0;
    voice.direction = Forward;
    return voice;
}

// A voice whose note has just started: levels at 0, so it ramps in.
Voice startedVoice(const Sample& sample, std::int32_t gainLeft, std::int32_t gainRight) {
    Voice voice = steadyVoice(sample, gainLeft, gainRight);
    voice.levelLeft = 0;
    voice.levelRight = 0;
    voice.rampGainLeft = 0;
    voice.rampGainRight = 0;
    return voice;
}

void placeAt(Voice& voice, std::uint64_t position) {
    voice.position = static_cast<std::uint32_t>(position >> 32);
    voice.positionFraction = static_cast<std::uint32_t>(position);
}

void setStep(Voice& voice, std::uint64_t step) {
    voice.step = static_cast<std::uint32_t>(step >> 32);
    voice.stepFraction = static_cast<std::uint32_t>(step);
}

std::uint64_t positionOf(const Voice& voice) {
    return (std::uint64_t{voice.position} << 32) | voice.positionFraction;
}

// Mixes a pool holding only `voice` (in slot 0) and returns the voice afterwards.
Voice mixAlone(const Voice& voice, float* out, std::int32_t frames) {
    VoicePool pool{};
    pool[0] = voice;
    mixVoices(pool, out, frames);
    return pool[0];
}

// The played value at a 32.32 position: frames i and i + 1 blended by the top 31 bits of the
// fraction, taken as a weight in [0, 1).
float valueAt(const Sample& sample, std::uint64_t position) {
    const auto i = static_cast<std::uint32_t>(position >> 32);
    const auto topBits = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) >> 1);
    const float weight = static_cast<float>(topBits) / 2147483648.0f;
    const float here = sample.data[i];
    const float next = sample.data[i + 1];
    return here + (next - here) * weight;
}

// Position after one output frame: the fraction's lowest bit is dropped, then the step is added
// (subtracted moving backward), modulo 2^64.
std::uint64_t nextPosition(std::uint64_t position, std::uint64_t step, bool backward) {
    const std::uint64_t even = position & ~std::uint64_t{1};
    return backward ? even - step : even + step;
}

float leftAt(const std::vector<float>& out, std::size_t frame) {
    return out[2 * frame];
}
float rightAt(const std::vector<float>& out, std::size_t frame) {
    return out[2 * frame + 1];
}

// ---------------------------------------------------------------------------------------------

TEST(MixerRamp, RampsFromSilenceToFullGainInExactly128FramesThenHoldsTheGain) {
    const auto sample = oneShot(constantValues(1000, 1000));
    std::vector<float> out(2 * 300, 0.0f);
    const Voice after = mixAlone(startedVoice(*sample, 255, 51), out.data(), 300);

    // 255 x (1/255) x (1/128) is exactly 2^-7, so the left multiplier after k frames is k/128.
    for (std::size_t k = 0; k < 128; ++k) {
        EXPECT_EQ(leftAt(out, k), 1000.0f * static_cast<float>(k) / 128.0f) << "frame " << k;
    }
    const float rightGain = 51.0f * InverseGain;
    float rightMultiplier = 0.0f;
    const float rightStep = 51.0f * InverseGain * (1.0f / 128.0f);
    for (std::size_t k = 0; k < 128; ++k) {
        EXPECT_EQ(rightAt(out, k), 1000.0f * rightMultiplier) << "frame " << k;
        rightMultiplier += rightStep;
    }
    for (std::size_t k = 128; k < 300; ++k) {
        ASSERT_EQ(leftAt(out, k), 1000.0f) << "frame " << k;
        ASSERT_EQ(rightAt(out, k), 1000.0f * rightGain) << "frame " << k;
    }
    EXPECT_EQ(after.levelLeft, 255 * 256);
    EXPECT_EQ(after.levelRight, 51 * 256);
    EXPECT_EQ(after.rampFrames, 0);
    EXPECT_EQ(after.rampStepLeft, 0.0f);
    EXPECT_EQ(after.rampStepRight, 0.0f);
    EXPECT_EQ(after.rampGainLeft, 255);
    EXPECT_EQ(after.rampGainRight, 51);
}

TEST(MixerRamp, RampCutByTheOutputEndStoresARoundedLevelAndGoesOnFromIt) {
    const auto sample = oneShot(constantValues(1000, 1000));
    std::vector<float> first(2 * 50, 0.0f);
    const Voice halfway = mixAlone(startedVoice(*sample, 255, 51), first.data(), 50);

    EXPECT_EQ(halfway.rampFrames, 78);
    EXPECT_EQ(halfway.levelLeft, 50 * 510); // 50/128 of 255 x 256, exactly
    float rightMultiplier = 0.0f;
    for (int k = 0; k < 50; ++k) {
        rightMultiplier += 51.0f * InverseGain * (1.0f / 128.0f);
    }
    EXPECT_EQ(halfway.levelRight, std::lrint(rightMultiplier * 255.0f * 256.0f));

    std::vector<float> second(2 * 100, 0.0f);
    const Voice done = mixAlone(halfway, second.data(), 100);
    // The continuation starts from the stored level, not from the multiplier of the first call.
    const float restartLeft = static_cast<float>(50 * 510) * (1.0f / 256.0f) * InverseGain;
    const float restartRight =
        static_cast<float>(halfway.levelRight) * (1.0f / 256.0f) * InverseGain;
    EXPECT_EQ(leftAt(second, 0), 1000.0f * restartLeft);
    EXPECT_EQ(rightAt(second, 0), 1000.0f * restartRight);
    EXPECT_LT(leftAt(second, 77), 1000.0f);
    EXPECT_EQ(leftAt(second, 78), 1000.0f);
    EXPECT_EQ(rightAt(second, 78), 1000.0f * (51.0f * InverseGain));
    EXPECT_EQ(done.rampFrames, 0);
    EXPECT_EQ(done.levelLeft, 255 * 256);
    EXPECT_EQ(done.levelRight, 51 * 256);
}

TEST(MixerRamp, NewTargetMidRampStartsAFreshRampFromTheCurrentLevel) {
    const auto sample = oneShot(constantValues(1000, 1000));
    std::vector<float> first(2 * 64, 0.0f);
    Voice voice = mixAlone(startedVoice(*sample, 255, 255), first.data(), 64);
    ASSERT_EQ(voice.levelLeft, 127 * 256 + 128);
    ASSERT_EQ(voice.rampFrames, 64);

    voice.gainLeft = 0;
    voice.gainRight = 0;
    std::vector<float> second(2 * 200, 0.0f);
    const Voice after = mixAlone(voice, second.data(), 200);

    // diff = 0 - (32640 >> 8) = -127, spread over a full ramp.
    const float step = -127.0f * InverseGain * (1.0f / 128.0f);
    float multiplier = static_cast<float>(127 * 256 + 128) * (1.0f / 256.0f) * InverseGain;
    for (std::size_t k = 0; k < 128; ++k) {
        ASSERT_EQ(leftAt(second, k), 1000.0f * multiplier) << "frame " << k;
        multiplier += step;
    }
    for (std::size_t k = 128; k < 200; ++k) {
        ASSERT_EQ(leftAt(second, k), 0.0f) << "frame " << k;
        ASSERT_EQ(rightAt(second, k), 0.0f) << "frame " << k;
    }
    EXPECT_EQ(after.rampGainLeft, 0);
    EXPECT_EQ(after.levelLeft, 0);
    EXPECT_EQ(after.levelRight, 0);
    EXPECT_EQ(after.rampFrames, 0);
    EXPECT_EQ(after.sample, sample.get()); // silent, but still playing
}

TEST(MixerRamp, RampEndingBeforeTheSampleEndLeavesTheRestOfTheSampleToPlay) {
    const auto sample = oneShot(constantValues(200, 1000));
    std::vector<float> out(2 * 300, 0.0f);
    const Voice after = mixAlone(startedVoice(*sample, 255, 255), out.data(), 300);
    for (std::size_t k = 128; k < 200; ++k) {
        ASSERT_EQ(leftAt(out, k), 1000.0f) << "frame " << k;
    }
    for (std::size_t k = 200; k < 300; ++k) {
        ASSERT_EQ(leftAt(out, k), 0.0f) << "frame " << k;
    }
    EXPECT_EQ(after.sample, nullptr);
}

TEST(MixerRamp, RampEndingWithTheOutputLeavesNoStepBehind) {
    const auto sample = oneShot(constantValues(1000, 1000));
    std::vector<float> out(2 * 128, 0.0f);
    const Voice after = mixAlone(startedVoice(*sample, 255, 51), out.data(), 128);
    EXPECT_EQ(after.rampFrames, 0);
    EXPECT_EQ(after.rampStepLeft, 0.0f);
    EXPECT_EQ(after.rampStepRight, 0.0f);
    EXPECT_EQ(after.levelLeft, 255 * 256);
    EXPECT_EQ(after.levelRight, 51 * 256);
    EXPECT_EQ(positionOf(after), 128 * FrameUnit);
}

TEST(MixerRamp, VoiceAtItsGainsMixesWithoutARamp) {
    const auto sample = oneShot(constantValues(100, -300));
    std::vector<float> out(2 * 10, 0.0f);
    const Voice after = mixAlone(steadyVoice(*sample, 200, 7), out.data(), 10);
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(leftAt(out, k), -300.0f * (200.0f * InverseGain));
        EXPECT_EQ(rightAt(out, k), -300.0f * (7.0f * InverseGain));
    }
    EXPECT_EQ(after.rampFrames, 0);
    EXPECT_EQ(after.levelLeft, 200 * 256);
}

TEST(MixerRamp, RampRunsOnThroughLoopBoundariesAndEndsAfter128Frames) {
    const auto sample = makeSample(constantValues(10, 1000), ForwardLoop, 2, 7);
    std::vector<float> out(2 * 200, 0.0f);
    const Voice after = mixAlone(startedVoice(*sample, 255, 0), out.data(), 200);

    for (std::size_t k = 1; k < 128; ++k) {
        EXPECT_GT(leftAt(out, k), leftAt(out, k - 1)) << "frame " << k;
        EXPECT_LT(leftAt(out, k), 1000.0f) << "frame " << k;
    }
    for (std::size_t k = 128; k < 200; ++k) {
        ASSERT_EQ(leftAt(out, k), 1000.0f) << "frame " << k;
    }
    EXPECT_EQ(after.levelLeft, 255 * 256);
    EXPECT_EQ(after.rampFrames, 0);
    EXPECT_EQ(after.sample, sample.get());
}

// ---------------------------------------------------------------------------------------------

TEST(MixerLoop, ForwardLoopCarriesAPositionPastTheEndBackToTheLoop) {
    const auto sample = makeSample(countingValues(30), ForwardLoop, 10, 20);
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 28 * FrameUnit);
    setStep(voice, 3 * FrameUnit);

    std::vector<float> one(2, 0.0f);
    const Voice afterOne = mixAlone(voice, one.data(), 1);
    EXPECT_EQ(afterOne.position, 11u);
    EXPECT_EQ(afterOne.positionFraction, 0u);
    EXPECT_EQ(afterOne.direction, Forward);
    EXPECT_EQ(afterOne.sample, sample.get());

    // Straight on in one call: 28, then 31 - 20 = 11, 14, 17.
    std::vector<float> four(2 * 4, 0.0f);
    const Voice afterFour = mixAlone(voice, four.data(), 4);
    EXPECT_EQ(leftAt(four, 0), 28.0f);
    EXPECT_EQ(leftAt(four, 1), 11.0f);
    EXPECT_EQ(leftAt(four, 2), 14.0f);
    EXPECT_EQ(leftAt(four, 3), 17.0f);
    EXPECT_EQ(afterFour.position, 20u);
}

TEST(MixerLoop, ForwardLoopSubtractsTheLengthUntilInsideTheLoop) {
    const auto sample = makeSample(countingValues(14), ForwardLoop, 10, 4);
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 12 * FrameUnit + 0x1234);
    setStep(voice, 9 * FrameUnit);

    std::vector<float> out(2, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 1);
    // 12 + 9 = 21 lies two loop lengths past the end: 21 - 4 - 4 = 13.
    EXPECT_EQ(after.position, 13u);
    EXPECT_EQ(after.positionFraction, 0x1234u);
}

TEST(MixerLoop, ForwardLoopFromFrameZeroTakesAPositionAHairShortOfItsEndAsAtIt) {
    // At exactly 1.0 a frame the distance 2^32 + r units counts at 24.8 precision as one frame,
    // which dropping the odd position's lowest bit leaves r + 1 units short of the end: up to
    // 256, that is 2^-24 frame. Taking the loop length off would land below frame 0 and wrap
    // round to a frame of the loop (0.ffffff00 for 256 units short of 3.0).
    const auto sample = makeSample(countingValues(3), ForwardLoop, 0, 3);
    struct Case {
        std::uint64_t from;
        std::uint64_t unitsShort;
    };
    const Case cases[] = {{3 * FrameUnit - FrameUnit, 0},
                          {3 * FrameUnit - FrameUnit - 1, 2},
                          {3 * FrameUnit - FrameUnit - 255, 256}};
    for (const Case& c : cases) {
        Voice voice = steadyVoice(*sample, 255, 255);
        placeAt(voice, c.from);
        std::vector<float> out(2, 0.0f);
        const Voice after = mixAlone(voice, out.data(), 1);
        EXPECT_EQ(3 * FrameUnit - nextPosition(c.from, FrameUnit, false), c.unitsShort);
        EXPECT_EQ(positionOf(after), 0u) << c.unitsShort << " units short";
    }
}

TEST(MixerLoop, PingPongReflectsAtTheLoopEndToTheLastFractionBit) {
    const auto sample = makeSample(noiseValues(40), PingPongLoop, 10, 20);
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 29 * FrameUnit);
    const std::uint64_t step = FrameUnit + FrameUnit / 2;
    setStep(voice, step);

    std::vector<float> one(2, 0.0f);
    const Voice afterOne = mixAlone(voice, one.data(), 1);
    EXPECT_EQ(afterOne.position, 29u);
    EXPECT_EQ(afterOne.positionFraction, 0x7FFFFFFFu);
    EXPECT_EQ(afterOne.direction, Backward);

    // In one call: 29.0, then 2 x 30 - 30.5 - 2^-32, then backward by 1.5 at a time.
    std::vector<float> out(2 * 4, 0.0f);
    const Voice afterFour = mixAlone(voice, out.data(), 4);
    std::uint64_t position = 29 * FrameUnit;
    EXPECT_EQ(leftAt(out, 0), valueAt(*sample, position));
    position = 60 * FrameUnit - (30 * FrameUnit + FrameUnit / 2) - 1;
    for (std::size_t k = 1; k < 4; ++k) {
        EXPECT_EQ(leftAt(out, k), valueAt(*sample, position)) << "frame " << k;
        position = nextPosition(position, step, true);
    }
    EXPECT_EQ(positionOf(afterFour), position);
    EXPECT_EQ(afterFour.direction, Backward);
}

TEST(MixerLoop, PingPongReflectsAtTheLoopStartMovingBackward) {
    const auto sample = makeSample(noiseValues(40), PingPongLoop, 10, 20);
    Voice voice = steadyVoice(*sample, 255, 255);
    voice.direction = Backward;
    placeAt(voice, 11 * FrameUnit);
    setStep(voice, FrameUnit + FrameUnit / 2);

    std::vector<float> out(2, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 1);
    // 11 - 1.5 = 9.5, reflected: 2 x 10 - 9.5 - 2^-32.
    EXPECT_EQ(after.position, 10u);
    EXPECT_EQ(after.positionFraction, 0x7FFFFFFFu);
    EXPECT_EQ(after.direction, Forward);
    EXPECT_EQ(leftAt(out, 0), static_cast<float>(sample->data[11]));
}

TEST(MixerLoop, PingPongReflectsBetweenBothEndsUntilInsideTheLoop) {
    const auto sample = makeSample(noiseValues(12), PingPongLoop, 10, 1);
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 10 * FrameUnit);
    setStep(voice, 3 * FrameUnit);

    std::vector<float> out(2, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 1);
    // 13 -> 22 - 13 - e = 9 - e (below the start) -> 20 - (9 - e) - e = 11 (at the end)
    // -> 22 - 11 - e = 11 - e, inside, moving backward.
    EXPECT_EQ(after.position, 10u);
    EXPECT_EQ(after.positionFraction, 0xFFFFFFFFu);
    EXPECT_EQ(after.direction, Backward);
}

TEST(MixerLoop, PingPongStepOfManyRoundTripsEndsWhereReflectingOneByOneDoes) {
    // A step of a million frames over a one-frame loop crosses it half a million times a frame.
    // Reflecting each crossing in turn took a release build 27 ms for one 20 ms block.
    const auto sample = makeSample(noiseValues(12), PingPongLoop, 10, 1);
    constexpr std::uint64_t Epsilon = 1; // 2^-32 of a frame
    struct Case {
        const char* what;
        std::int32_t direction;
        std::uint64_t from;
        std::uint64_t step;
        std::uint64_t expected;
        std::int32_t expectedDirection;
    };
    const Case cases[] = {
        // 1000013 lies an even 1000002 frames past the end at 11: as if at 11, reflected.
        {"forward", Forward, 10 * FrameUnit, 1'000'003 * FrameUnit, 11 * FrameUnit - Epsilon,
         Backward},
        // 10.5 - 1000001 lies 1000000.5 frames below the start at 10: 500000 round trips leave
        // it at 9.5, reflected to 10.5 - 2^-32.
        {"backward", Backward, 10 * FrameUnit + FrameUnit / 2, 1'000'001 * FrameUnit,
         10 * FrameUnit + FrameUnit / 2 - Epsilon, Forward},
        // Exactly two round trips below the start, where the fourth reflection lands on it:
        // 6 -> 14 - e -> 8 -> 12 - e -> 10.
        {"backward by whole round trips", Backward, 11 * FrameUnit, 5 * FrameUnit, 10 * FrameUnit,
         Backward},
    };
    for (const Case& c : cases) {
        Voice voice = steadyVoice(*sample, 255, 255);
        voice.direction = c.direction;
        placeAt(voice, c.from);
        setStep(voice, c.step);
        std::vector<float> out(2, 0.0f);
        const Voice after = mixAlone(voice, out.data(), 1);
        EXPECT_EQ(positionOf(after), c.expected) << c.what;
        EXPECT_EQ(after.direction, c.expectedDirection) << c.what;
    }
}

TEST(MixerLoop, PingPongLoopAtFrameZeroKeepsThePositionInsideTheData) {
    // Overshooting below frame 0 counts as below the loop start, not as a huge position.
    const auto tiny = makeSample(noiseValues(1), PingPongLoop, 0, 1);
    Voice fast = steadyVoice(*tiny, 255, 255);
    setStep(fast, 3 * FrameUnit);
    std::vector<float> one(2, 0.0f);
    const Voice reflected = mixAlone(fast, one.data(), 1);
    // 3 -> 2 - 3 - e = -1 - e -> 0 + 1 + e - e = 1 -> 2 - 1 - e = 1 - e.
    EXPECT_EQ(reflected.position, 0u);
    EXPECT_EQ(reflected.positionFraction, 0xFFFFFFFFu);
    EXPECT_EQ(reflected.direction, Backward);

    std::vector<float> many(2 * 2000, 0.0f);
    Voice later = mixAlone(reflected, many.data(), 2000);
    EXPECT_LE(later.position, 1u);
    const float lowest = std::fmin(tiny->data[0], tiny->data[1]);
    const float highest = std::fmax(tiny->data[0], tiny->data[1]);
    for (std::size_t k = 0; k < 2000; ++k) {
        ASSERT_GE(leftAt(many, k), lowest) << "frame " << k;
        ASSERT_LE(leftAt(many, k), highest) << "frame " << k;
    }

    // Reflected from exactly frame 0, the position is held at frame 0.
    const auto small = makeSample(noiseValues(4), PingPongLoop, 0, 4);
    Voice back = steadyVoice(*small, 255, 255);
    back.direction = Backward;
    placeAt(back, FrameUnit);
    std::vector<float> out(2, 0.0f);
    const Voice atZero = mixAlone(back, out.data(), 1);
    EXPECT_EQ(positionOf(atZero), 0u);
    EXPECT_EQ(atZero.direction, Forward);

    // Counted at 24.8 precision, 2.ffffff28 takes 4 frames to frame 0 at 0.ffffffff per frame;
    // the third already crosses it (to -0xd7 units). When the output ends there, the crossing is
    // still reflected, not stored as a position 2^32 frames on.
    Voice crossing = steadyVoice(*small, 255, 255);
    crossing.direction = Backward;
    placeAt(crossing, 2 * FrameUnit + 0xFFFFFF28);
    setStep(crossing, 0xFFFFFFFF);
    std::vector<float> three(2 * 3, 0.0f);
    const Voice reflectedAtTheEnd = mixAlone(crossing, three.data(), 3);
    EXPECT_EQ(positionOf(reflectedAtTheEnd), 0xD6u);
    EXPECT_EQ(reflectedAtTheEnd.direction, Forward);
}

TEST(MixerLoop, OneShotOfHundredFramesPlaysExactlyHundredFramesWhateverTheSplit) {
    std::vector<std::int16_t> values(100);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<std::int16_t>(1000 + 7 * i);
    }
    const auto sample = oneShot(values);
    const Voice voice = steadyVoice(*sample, 255, 255);
    constexpr std::int32_t Frames = 300;

    std::vector<float> whole(2 * Frames, 0.0f);
    const Voice afterWhole = mixAlone(voice, whole.data(), Frames);
    for (std::size_t k = 0; k < 100; ++k) {
        ASSERT_EQ(leftAt(whole, k), static_cast<float>(values[k])) << "frame " << k;
    }
    for (std::size_t k = 100; k < Frames; ++k) {
        ASSERT_EQ(leftAt(whole, k), 0.0f) << "frame " << k;
    }
    EXPECT_EQ(afterWhole.sample, nullptr);
    EXPECT_EQ(afterWhole.position, 0u);
    EXPECT_EQ(afterWhole.positionFraction, 0u);

    // Two and three calls, with the cuts at every frame around the sample's end and beyond.
    for (std::int32_t cut = 0; cut <= Frames; ++cut) {
        for (const std::int32_t second : {0, 1, 2, 3, 50, 99, 100, 101}) {
            const std::int32_t middle = std::min(second, Frames - cut);
            std::vector<float> split(2 * Frames, 0.0f);
            VoicePool pool{};
            pool[0] = voice;
            mixVoices(pool, split.data(), cut);
            mixVoices(pool, split.data() + 2 * cut, middle);
            mixVoices(pool, split.data() + 2 * (cut + middle), Frames - cut - middle);
            ASSERT_EQ(split, whole) << "cuts at " << cut << " and " << cut + middle;
            ASSERT_EQ(pool[0].sample, nullptr);
        }
    }
}

TEST(MixerLoop, EmptySampleStopsAfterZeroFramesWithoutReadingData) {
    std::vector<float> out(2 * 16, 0.5f);
    const Voice atStart = mixAlone(startedVoice(EmptySample, 255, 255), out.data(), 16);
    EXPECT_EQ(atStart.sample, nullptr);
    EXPECT_EQ(positionOf(atStart), 0u);
    for (const float value : out) {
        ASSERT_EQ(value, 0.5f);
    }

    Voice offset = steadyVoice(EmptySample, 255, 255);
    placeAt(offset, 5 * FrameUnit + 77);
    const Voice afterOffset = mixAlone(offset, out.data(), 16);
    EXPECT_EQ(afterOffset.sample, nullptr);
    EXPECT_EQ(positionOf(afterOffset), 0u);

    // A looping sample that lost its data stops the same way.
    Sample noData;
    noData.length = 64;
    noData.loopStart = 0;
    noData.loopLength = 64;
    noData.loopMode = ForwardLoop;
    const Voice afterNoData = mixAlone(steadyVoice(noData, 255, 255), out.data(), 16);
    EXPECT_EQ(afterNoData.sample, nullptr);
    for (const float value : out) {
        ASSERT_EQ(value, 0.5f);
    }
}

// ---------------------------------------------------------------------------------------------

TEST(MixerStep, StandStillVoiceFindsItsBoundaryAtTheStandInRate) {
    // A step of exactly 0 is counted as 256/44100 of a frame: one frame short of the end, the
    // boundary comes after ceil(44100 / 256) = 173 frames.
    const auto sample = oneShot(constantValues(10, 500));
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 9 * FrameUnit);
    setStep(voice, 0);

    std::vector<float> first(2 * 172, 0.0f);
    const Voice waiting = mixAlone(voice, first.data(), 172);
    EXPECT_EQ(waiting.sample, sample.get());
    EXPECT_EQ(positionOf(waiting), 9 * FrameUnit);

    std::vector<float> out(2 * 400, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 400);
    EXPECT_EQ(after.sample, nullptr);
    for (std::size_t k = 0; k < 173; ++k) {
        ASSERT_EQ(leftAt(out, k), 500.0f) << "frame " << k;
    }
    for (std::size_t k = 173; k < 400; ++k) {
        ASSERT_EQ(leftAt(out, k), 0.0f) << "frame " << k;
    }
}

TEST(MixerStep, StepTooSmallForTheCountCountsAsTheSmallestDivisor) {
    // 2^-25 frame per frame: the 24.8 divisor is 0 and counts as 1, so 1/65536 of a frame
    // (256 units of the 24.8 distance) takes 256 frames.
    const auto sample = oneShot(constantValues(10, 500));
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 10 * FrameUnit - 0x10000);
    setStep(voice, 0x80);

    std::vector<float> out(2 * 300, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 300);
    EXPECT_EQ(after.sample, nullptr);
    EXPECT_NE(leftAt(out, 255), 0.0f);
    for (std::size_t k = 256; k < 300; ++k) {
        ASSERT_EQ(leftAt(out, k), 0.0f) << "frame " << k;
    }
}

TEST(MixerStep, ABoundary2To24FramesOrMoreAwayStillEndsTheSegment) {
    // 2^24 + 4 frames at 32768 frames a frame (some 1.4 GHz): the end comes after 513 frames of
    // the block, and the voice stops there rather than reading on past the data.
    const auto sample = oneShot(constantValues((1u << 24) + 4, 500));
    Voice voice = steadyVoice(*sample, 255, 255);
    setStep(voice, 32768 * FrameUnit);
    std::vector<float> out(2 * BlockFrames, 0.0f);
    const Voice after = mixAlone(voice, out.data(), BlockFrames);
    EXPECT_EQ(after.sample, nullptr);
    EXPECT_EQ(leftAt(out, 512), 500.0f);
    for (std::size_t k = 513; k < BlockFrames; ++k) {
        ASSERT_EQ(leftAt(out, k), 0.0f) << "frame " << k;
    }
}

TEST(MixerStep, BoundaryCountRoundsUpPartialFrames) {
    // 10 frames to go at 3 frames per frame: 4 frames are played before the end is handled.
    const auto sample = oneShot(constantValues(10, 500));
    Voice voice = steadyVoice(*sample, 255, 255);
    setStep(voice, 3 * FrameUnit);
    std::vector<float> out(2 * 8, 0.0f);
    mixAlone(voice, out.data(), 8);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(leftAt(out, k), 500.0f) << "frame " << k;
    }
    EXPECT_EQ(leftAt(out, 4), 0.0f);
}

TEST(MixerStep, LowestFractionBitIsDroppedBeforeEachStep) {
    const auto sample = oneShot(constantValues(100, 1));
    Voice voice = steadyVoice(*sample, 255, 255);
    placeAt(voice, 0x1);
    setStep(voice, 0x80000001);

    std::vector<float> out(2 * 2, 0.0f);
    const Voice after = mixAlone(voice, out.data(), 2);
    // 0x1 -> 0x0 + 0x80000001 -> 0x80000000 + 0x80000001 = 1 + 0x1.
    EXPECT_EQ(after.position, 1u);
    EXPECT_EQ(after.positionFraction, 1u);
}

TEST(MixerStep, PairedFramesMatchAFrameByFrameReferenceForOddAndEvenLengths) {
    const auto sample = oneShot(noiseValues(4000));
    Voice voice = steadyVoice(*sample, 200, 77);
    const std::uint64_t step = FrameUnit + 0x3C0CA429; // about 1.2345, odd fraction
    setStep(voice, step);
    placeAt(voice, 3 * FrameUnit + 0x9ABCDEF1);
    const float gainLeft = 200.0f * InverseGain;
    const float gainRight = 77.0f * InverseGain;

    for (const std::int32_t frames : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 883, 884}) {
        std::vector<float> expected(2 * static_cast<std::size_t>(frames), 0.0f);
        std::uint64_t position = positionOf(voice);
        for (std::int32_t k = 0; k < frames; ++k) {
            const float value = valueAt(*sample, position);
            expected[2 * k] = value * gainLeft;
            expected[2 * k + 1] = value * gainRight;
            position = nextPosition(position, step, false);
        }

        std::vector<float> together(2 * static_cast<std::size_t>(frames), 0.0f);
        const Voice afterTogether = mixAlone(voice, together.data(), frames);
        EXPECT_EQ(together, expected) << frames << " frames";
        EXPECT_EQ(positionOf(afterTogether), position) << frames << " frames";

        std::vector<float> single(2 * static_cast<std::size_t>(frames), 0.0f);
        VoicePool pool{};
        pool[0] = voice;
        for (std::int32_t k = 0; k < frames; ++k) {
            mixVoices(pool, single.data() + 2 * k, 1);
        }
        EXPECT_EQ(single, expected) << frames << " frames, one at a time";
    }
}

TEST(MixerStep, BackwardMotionFollowsTheNegatedStepFrameByFrame) {
    const auto sample = makeSample(noiseValues(3000), PingPongLoop, 100, 2900);
    Voice voice = steadyVoice(*sample, 255, 128);
    voice.direction = Backward;
    const std::uint64_t step = 2 * FrameUnit + 0x12345679;
    setStep(voice, step);
    placeAt(voice, 2500 * FrameUnit + 0x55555555);

    constexpr std::int32_t Frames = 501;
    std::vector<float> expected(2 * Frames, 0.0f);
    std::uint64_t position = positionOf(voice);
    for (std::int32_t k = 0; k < Frames; ++k) {
        const float value = valueAt(*sample, position);
        expected[2 * k] = value * (255.0f * InverseGain);
        expected[2 * k + 1] = value * (128.0f * InverseGain);
        position = nextPosition(position, step, true);
    }
    std::vector<float> out(2 * Frames, 0.0f);
    const Voice after = mixAlone(voice, out.data(), Frames);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(positionOf(after), position);
    EXPECT_EQ(after.direction, Backward);
}

// ---------------------------------------------------------------------------------------------

TEST(MixerPool, IdleVoicesAreSkippedAndActiveOnesAddInPoolOrder) {
    const auto low = oneShot(constantValues(100, 3));
    const auto high = oneShot(constantValues(100, 20000));
    VoicePool pool{};
    pool[5] = steadyVoice(*low, 255, 10);
    pool[63] = steadyVoice(*high, 13, 255);
    pool[7].gainLeft = 255; // idle: no sample
    pool[7].position = 42;
    const Voice idleBefore = pool[7];

    std::vector<float> out(2 * 4, 0.25f);
    mixVoices(pool, out.data(), 4);
    const float left = (0.25f + 3.0f * (255.0f * InverseGain)) + 20000.0f * (13.0f * InverseGain);
    const float right = (0.25f + 3.0f * (10.0f * InverseGain)) + 20000.0f * (255.0f * InverseGain);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(leftAt(out, k), left);
        EXPECT_EQ(rightAt(out, k), right);
    }
    EXPECT_EQ(pool[7].position, idleBefore.position);
    EXPECT_EQ(pool[7].rampFrames, idleBefore.rampFrames);
    EXPECT_EQ(pool[7].rampGainLeft, idleBefore.rampGainLeft);
}

// A voice at gains 0 (ramped out beside a new note, or faded away) keeps moving as if it were
// heard, through both kinds of loop and either direction, and leaves every sum as it was.
TEST(MixerPool, SilentVoiceMovesLikeAnAudibleOneAndChangesNoSum) {
    const auto forward = makeSample(noiseValues(700), ForwardLoop, 90, 333);
    const auto pingPong = makeSample(noiseValues(700), PingPongLoop, 50, 401);
    const auto heard = oneShot(noiseValues(4000));
    const std::pair<const Sample*, std::int32_t> cases[] = {
        {forward.get(), Forward}, {pingPong.get(), Forward}, {pingPong.get(), Backward}};
    for (const auto& [sample, direction] : cases) {
        Voice silent = steadyVoice(*sample, 0, 0);
        silent.direction = direction;
        setStep(silent, 3 * FrameUnit + 0x2468ACE1); // odd fraction: every step drops a bit
        placeAt(silent, 200 * FrameUnit + 0x13579BDF);
        Voice audible = silent;
        audible.gainLeft = audible.rampGainLeft = 255;
        audible.levelLeft = 255 * 256;
        std::vector<float> scratch(2 * BlockFrames, 0.0f);
        const Voice moved = mixAlone(audible, scratch.data(), BlockFrames);

        const Voice loud = steadyVoice(*heard, 201, 99);
        VoicePool pool{};
        pool[0] = loud;
        pool[1] = silent;
        std::vector<float> together(2 * BlockFrames, 0.0f);
        mixVoices(pool, together.data(), BlockFrames);
        std::vector<float> alone(2 * BlockFrames, 0.0f);
        mixAlone(loud, alone.data(), BlockFrames);

        EXPECT_EQ(positionOf(pool[1]), positionOf(moved)) << "direction " << direction;
        EXPECT_EQ(pool[1].direction, moved.direction);
        EXPECT_EQ(together, alone);
    }
}

TEST(MixerPool, NoFramesLeavesOutputAndVoicesAlone) {
    const auto sample = oneShot(constantValues(100, 3));
    VoicePool pool{};
    pool[0] = startedVoice(*sample, 255, 255);
    std::vector<float> out(4, 9.0f);
    mixVoices(pool, out.data(), 0);
    mixVoices(pool, out.data(), -5);
    EXPECT_EQ(out, std::vector<float>(4, 9.0f));
    EXPECT_EQ(pool[0].rampFrames, 0);
    EXPECT_EQ(pool[0].rampGainLeft, 0);
    EXPECT_EQ(positionOf(pool[0]), 0u);
}

// ---------------------------------------------------------------------------------------------

std::vector<std::int16_t> converted(const std::vector<float>& values) {
    std::vector<std::int16_t> out(values.size() + 2, 0x5A5A);
    convertBlock(out.data(), values.data(), static_cast<std::int32_t>(values.size() / 2));
    return out;
}

TEST(SixteenBitOutput, RoundsHalfwayValuesToEven) {
    const auto out = converted({0.5f, 1.5f, -0.5f, -1.5f, 2.5f, -2.5f, 0.49f, -0.51f, 3.7f, -3.2f});
    const std::vector<std::int16_t> expected{0, 2, 0, -2, 2, -2, 0, -1, 4, -3, 0x5A5A, 0x5A5A};
    EXPECT_EQ(out, expected);
}

TEST(SixteenBitOutput, ClampsToTheSixteenBitRange) {
    const auto out = converted({32767.0f, 32767.4f, 32767.5f, 40000.0f, 1e30f, -32768.0f, -32768.4f,
                                -32769.0f, -1e30f, -INFINITY});
    const std::vector<std::int16_t> expected{32767,  32767,  32767,  32767,  32767,  -32768,
                                             -32768, -32768, -32768, -32768, 0x5A5A, 0x5A5A};
    EXPECT_EQ(out, expected);
}

TEST(SixteenBitOutput, KeepsLeftAndRightInterleaved) {
    const auto out = converted({1.0f, -1.0f, 100.0f, -100.0f, 12345.0f, -12345.0f});
    const std::vector<std::int16_t> expected{1, -1, 100, -100, 12345, -12345, 0x5A5A, 0x5A5A};
    EXPECT_EQ(out, expected);
}

// ---------------------------------------------------------------------------------------------

// A player with its rings and one song whose every tick restarts voice 0 on a counting sample:
// each output value is the number of frames since the last tick.
class BlockMixing : public testing::Test {
protected:
    void SetUp() override {
        counting_ = oneShot(countingValues(8000));
        state_ = std::make_unique<PlayerState>();
        state_->floatRing = std::make_unique<float[]>(2 * static_cast<std::size_t>(RingFrames));
        state_->pcmRing =
            std::make_unique<std::int16_t[]>(2 * static_cast<std::size_t>(RingFrames));
        state_->currentSong = &song_;
        state_->voices[0] = steadyVoice(*counting_, 255, 255);
        song_.tickHandler = &BlockMixing::onTick;
        active_ = this;
    }
    void TearDown() override { active_ = nullptr; }

    static void onTick(Song& song) {
        ASSERT_EQ(&song, &active_->song_);
        ++active_->ticks_;
        Voice& voice = active_->state_->voices[0];
        voice.sample = active_->counting_.get();
        voice.position = 0;
        voice.positionFraction = 0;
        if (active_->nextFramesPerTick_ > 0) {
            song.framesPerTick = active_->nextFramesPerTick_;
        }
    }

    float leftOf(std::int32_t block, std::int32_t frame) const {
        return state_->floatRing[2 * (static_cast<std::size_t>(block) * BlockFrames + frame)];
    }
    std::int16_t pcmLeftOf(std::int32_t block, std::int32_t frame) const {
        return state_->pcmRing[2 * (static_cast<std::size_t>(block) * BlockFrames + frame)];
    }

    // The frames of `block` at which the counting voice restarted.
    std::vector<std::int32_t> restartsIn(std::int32_t block) const {
        std::vector<std::int32_t> frames;
        for (std::int32_t frame = 0; frame < BlockFrames; ++frame) {
            if (leftOf(block, frame) == 0.0f) {
                frames.push_back(frame);
            }
        }
        return frames;
    }

    static inline BlockMixing* active_ = nullptr;
    std::unique_ptr<Sample> counting_;
    std::unique_ptr<PlayerState> state_;
    Song song_;
    std::int32_t ticks_ = 0;
    std::int32_t nextFramesPerTick_ = 0;
};

TEST_F(BlockMixing, At882FramesPerTickTicksAtFrames0And882ThenAt880OfTheNextBlock) {
    song_.framesPerTick = 882;
    song_.framesToTick = 0;

    mixBlock(*state_);
    EXPECT_EQ(ticks_, 2);
    EXPECT_EQ(restartsIn(0), (std::vector<std::int32_t>{0, 882}));
    EXPECT_EQ(leftOf(0, 881), 881.0f);
    EXPECT_EQ(leftOf(0, 883), 1.0f);
    EXPECT_EQ(song_.framesToTick, 880);
    EXPECT_EQ(state_->writeBlock, 1);

    mixBlock(*state_);
    EXPECT_EQ(ticks_, 3);
    EXPECT_EQ(restartsIn(1), (std::vector<std::int32_t>{880}));
    EXPECT_EQ(leftOf(1, 0), 2.0f);
    EXPECT_EQ(leftOf(1, 879), 881.0f);
    EXPECT_EQ(song_.framesToTick, 882 - 4);
    EXPECT_EQ(pcmLeftOf(1, 879), 881);
}

TEST_F(BlockMixing, TickOf3445FramesSpansFourBlocksWithOneHandlerCall) {
    song_.framesPerTick = 3445;
    song_.framesToTick = 0;

    const std::int32_t ticksAfter[] = {1, 1, 1, 2};
    const std::int32_t framesToTickAfter[] = {3445 - 884, 3445 - 2 * 884, 3445 - 3 * 884,
                                              3445 - (884 - (3445 - 3 * 884))};
    for (std::int32_t block = 0; block < 4; ++block) {
        mixBlock(*state_);
        EXPECT_EQ(ticks_, ticksAfter[block]) << "block " << block;
        EXPECT_EQ(song_.framesToTick, framesToTickAfter[block]) << "block " << block;
    }
    EXPECT_EQ(restartsIn(0), (std::vector<std::int32_t>{0}));
    EXPECT_TRUE(restartsIn(1).empty());
    EXPECT_TRUE(restartsIn(2).empty());
    EXPECT_EQ(restartsIn(3), (std::vector<std::int32_t>{3445 - 3 * 884}));
    EXPECT_EQ(leftOf(3, 792), 3444.0f);
    EXPECT_EQ(pcmLeftOf(2, 883), 3 * 884 - 1);
}

TEST_F(BlockMixing, TickLengthIsTakenAfterTheHandlerRuns) {
    song_.framesPerTick = 882;
    song_.framesToTick = 0;
    nextFramesPerTick_ = 300; // the first tick changes the tempo

    mixBlock(*state_);
    EXPECT_EQ(restartsIn(0), (std::vector<std::int32_t>{0, 300, 600}));
    EXPECT_EQ(ticks_, 3);
    EXPECT_EQ(song_.framesToTick, 300 - (884 - 600));
}

TEST_F(BlockMixing, TickNotYetDueMixesTheWholeBlockWithoutTheHandler) {
    song_.framesPerTick = 882;
    song_.framesToTick = 5000;
    state_->voices[0].position = 100;

    mixBlock(*state_);
    EXPECT_EQ(ticks_, 0);
    EXPECT_EQ(song_.framesToTick, 5000 - 884);
    EXPECT_EQ(leftOf(0, 0), 100.0f);
    EXPECT_EQ(leftOf(0, 883), 983.0f);
}

TEST_F(BlockMixing, OverwritesItsOwnBlockOnlyAndWrapsTheWriteIndex) {
    song_.framesPerTick = 100000;
    song_.framesToTick = 0;
    state_->voices[0].sample = nullptr;
    state_->voices[1] = steadyVoice(*counting_, 255, 0);
    state_->voices[1].position = 5000;
    for (std::int32_t i = 0; i < 2 * RingFrames; ++i) {
        state_->floatRing[i] = -7.0f;
        state_->pcmRing[i] = -7;
    }
    state_->writeBlock = RingBlocks - 1;
    song_.tickHandler = nullptr; // nothing to do at the tick

    mixBlock(*state_);
    EXPECT_EQ(state_->writeBlock, 0);
    const std::int32_t last = RingBlocks - 1;
    for (std::int32_t frame = 0; frame < BlockFrames; ++frame) {
        ASSERT_EQ(leftOf(last, frame), static_cast<float>(5000 + frame)) << "frame " << frame;
        ASSERT_EQ(state_->floatRing[2 * (last * BlockFrames + frame) + 1], 0.0f);
        ASSERT_EQ(pcmLeftOf(last, frame), 5000 + frame);
        ASSERT_EQ(state_->pcmRing[2 * (last * BlockFrames + frame) + 1], 0);
    }
    EXPECT_EQ(state_->floatRing[2 * last * BlockFrames - 1], -7.0f);
    EXPECT_EQ(state_->pcmRing[2 * last * BlockFrames - 1], -7);
    EXPECT_EQ(state_->floatRing[0], -7.0f);
    EXPECT_EQ(state_->pcmRing[0], -7);
}

} // namespace
} // namespace omra
