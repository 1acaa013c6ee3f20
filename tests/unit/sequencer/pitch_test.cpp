#include "records/mix_constants.h"
#include "records/song.h"
#include "records/voice.h"
#include "sequencer/pitch.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace omra {
namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();

// The 32-bit fraction of frequency / MixRate.
constexpr std::uint32_t fractionOf(std::int64_t frequency) {
    return static_cast<std::uint32_t>(((frequency % MixRate) << 32) / MixRate);
}

Song songWithFlags(std::uint16_t flags) {
    Song song;
    song.flags = flags;
    return song;
}

TEST(Pitch, AmigaPeriodsWithoutFinetuneHalveEveryOctave) {
    EXPECT_EQ(amigaPeriod(48, 0), 1712);
    EXPECT_EQ(amigaPeriod(49, 0), 1615);
    EXPECT_EQ(amigaPeriod(60, 0), 856);
    EXPECT_EQ(amigaPeriod(0, 0), 27392);
    EXPECT_EQ(amigaPeriod(95, 0), 113);
}

TEST(Pitch, AmigaFinetuneBendsTowardTheNeighbour) {
    // 1712 + ((1712 - 1615) x 127) / -128 = 1712 + 12319 / -128 = 1712 - 96 (toward zero).
    EXPECT_EQ(amigaPeriod(48, 127), 1616);
    // P(47) = trunc(1712.x x 2^(1/12)) = 1813: 1712 + (-101 x 1) / -128 = 1712 + 0.
    EXPECT_EQ(amigaPeriod(48, -1), 1712);
    // A whole semitone down reaches the note below: 1712 + (-101 x 128) / -128.
    EXPECT_EQ(amigaPeriod(48, -128), 1813);

    // Note 0 has no note below; it uses the distance to the note above.
    // P(1) = trunc(27392 / 2^(1/12)) = 25854; 27392 + (1538 x -64) / -128 = 27392 + 769.
    EXPECT_EQ(amigaPeriod(0, -64), 28161);
}

TEST(Pitch, LinearPeriodsFall64ASemitoneAndHalfAFinetuneStep) {
    EXPECT_EQ(linearPeriod(48, 0), 4608);
    EXPECT_EQ(linearPeriod(0, 0), 7680);
    EXPECT_EQ(linearPeriod(95, 0), 7680 - 64 * 95);
    EXPECT_EQ(linearPeriod(48, 127), 4608 - 63);
    // -127 / 2 truncates to -63, not -64.
    EXPECT_EQ(linearPeriod(48, -127), 4608 + 63);
}

TEST(Pitch, SongChoosesTheTable) {
    const Song linear = songWithFlags(xm::LinearFrequencyTable);
    const Song amiga = songWithFlags(0);
    EXPECT_EQ(notePeriod(linear, 60, 0), 4608 - 12 * 64);
    EXPECT_EQ(notePeriod(amiga, 60, 0), 856);
    EXPECT_EQ(semitoneOffset(linear, 48, 0, 3), 192);
    EXPECT_EQ(semitoneOffset(amiga, 48, 0, 12), 856 - 1712);
}

TEST(Pitch, MiddleCPlaysAt8363HzOnLinearAnd8362HzOnAmigaPeriods) {
    std::int32_t frequency = 0;
    ASSERT_TRUE(periodFrequency(songWithFlags(xm::LinearFrequencyTable), 4608, 0, frequency));
    EXPECT_EQ(frequency, 8363);
    // 14317056 / 1712 = 8362.77.
    ASSERT_TRUE(periodFrequency(songWithFlags(0), 1712, 0, frequency));
    EXPECT_EQ(frequency, 8362);
}

TEST(Pitch, APositiveOffsetRaisesLinearPitchesAndANegativeOneAmigaPitches) {
    std::int32_t frequency = 0;
    const Song linear = songWithFlags(xm::LinearFrequencyTable);
    // A positive offset raises a linear pitch: +768 is one octave up, -768 one down.
    ASSERT_TRUE(periodFrequency(linear, 4608, 768, frequency));
    EXPECT_EQ(frequency, 16726);
    ASSERT_TRUE(periodFrequency(linear, 4608, -768, frequency));
    EXPECT_EQ(frequency, 4181); // 4181.5
    // A negative offset raises an Amiga pitch: 14317056 / 856 = 16725.6.
    ASSERT_TRUE(periodFrequency(songWithFlags(0), 1712, -856, frequency));
    EXPECT_EQ(frequency, 16725);
}

TEST(Pitch, AZeroPeriodKeepsTheFrequencyAndHugeFrequenciesSaturate) {
    std::int32_t frequency = 1234;
    EXPECT_FALSE(periodFrequency(songWithFlags(0), 300, -300, frequency));
    EXPECT_FALSE(periodFrequency(songWithFlags(xm::LinearFrequencyTable), 300, -300, frequency));
    EXPECT_EQ(frequency, 1234);
    ASSERT_TRUE(periodFrequency(songWithFlags(0), 100, -200, frequency));
    EXPECT_EQ(frequency, -143170); // 14317056 / -100, toward zero
    // 20 octaves above C-4: 8363 x 2^20 is about 8.8e9.
    ASSERT_TRUE(
        periodFrequency(songWithFlags(xm::LinearFrequencyTable), 4608 - 20 * 768, 0, frequency));
    EXPECT_EQ(frequency, Int32Max);
    ASSERT_TRUE(
        periodFrequency(songWithFlags(xm::LinearFrequencyTable), 4608, 40 * 768, frequency));
    EXPECT_EQ(frequency, Int32Max);
}

TEST(Pitch, TheStepIsTheFrequencyOverTheMixingRateIn32Point32) {
    Voice voice;
    setVoiceFrequency(voice, 8363);
    EXPECT_EQ(voice.frequency, 8363);
    EXPECT_EQ(voice.step, 0u);
    EXPECT_EQ(voice.stepFraction, (std::uint64_t{8363} << 32) / 44100);

    setVoiceFrequency(voice, MixRate);
    EXPECT_EQ(voice.step, 1u);
    EXPECT_EQ(voice.stepFraction, 0u);

    setVoiceFrequency(voice, 2 * MixRate + MixRate / 2);
    EXPECT_EQ(voice.step, 2u);
    EXPECT_EQ(voice.stepFraction, 0x80000000u);

    setVoiceFrequency(voice, Int32Max);
    EXPECT_EQ(voice.step, static_cast<std::uint32_t>(Int32Max / MixRate));
    EXPECT_EQ(voice.stepFraction, fractionOf(Int32Max));
}

TEST(Pitch, LowFrequencyIsStoredButSteppedAs100Hz) {
    Voice voice;
    setVoiceFrequency(voice, 65);
    EXPECT_EQ(voice.frequency, 65);
    EXPECT_EQ(voice.step, 0u);
    EXPECT_EQ(voice.stepFraction, fractionOf(100));

    setVoiceFrequency(voice, -143170);
    EXPECT_EQ(voice.frequency, -143170);
    EXPECT_EQ(voice.step, 0u);
    EXPECT_EQ(voice.stepFraction, fractionOf(100));
}

} // namespace
} // namespace omra
