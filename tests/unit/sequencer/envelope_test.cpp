#include "records/channel.h"
#include "records/song.h"
#include "sequencer/envelope.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace omra {
namespace {

Instrument volumeEnvelope(const std::vector<EnvelopePoint>& points, std::uint8_t flags) {
    Instrument instrument;
    for (std::size_t i = 0; i < points.size(); ++i) {
        instrument.volumeEnvelope[i] = points[i];
    }
    instrument.volumePointCount = static_cast<std::uint8_t>(points.size());
    instrument.volumeEnvelopeFlags = flags;
    return instrument;
}

// Steps the volume envelope `ticks` times and returns the output after each step.
std::vector<std::int32_t> stepVolume(Channel& channel, const Instrument& instrument, int ticks) {
    std::vector<std::int32_t> outputs;
    for (int i = 0; i < ticks; ++i) {
        channel.updateFlags = 0;
        stepEnvelope(channel, volumeEnvelopeState(channel), volumeEnvelopeShape(instrument),
                     VolumeChanged);
        EXPECT_EQ(channel.updateFlags, VolumeChanged);
        outputs.push_back(channel.volumeEnvelopeOutput);
    }
    return outputs;
}

using Outputs = std::vector<std::int32_t>;

TEST(Envelope, SustainHoldsUntilKeyOffThenContinues) {
    // Rises 16 a tick to 64 at tick 4, holds there, then falls 8 a tick to 32 at tick 8.
    Instrument instrument =
        volumeEnvelope({{0, 0}, {4, 64}, {8, 32}}, EnvelopeOn | EnvelopeSustain);
    instrument.volumeSustainPoint = 1;
    Channel channel{};
    EXPECT_EQ(stepVolume(channel, instrument, 7), (Outputs{0, 16, 32, 48, 64, 64, 64}));
    EXPECT_EQ(channel.volumeEnvelopeTick, 4);
    EXPECT_EQ(channel.volumeEnvelopePoint, 1);

    channel.keyOff = 1;
    EXPECT_EQ(stepVolume(channel, instrument, 5), (Outputs{64, 56, 48, 40, 32}));
    EXPECT_EQ(channel.volumeEnvelopeFinished, 1);
    EXPECT_EQ(channel.volumeEnvelopeTick, 8); // the last point does not advance the tick
    EXPECT_FALSE(envelopeRuns(volumeEnvelopeShape(instrument), volumeEnvelopeState(channel)));
}

TEST(Envelope, LastPointFinishesWithItsValue) {
    const Instrument instrument = volumeEnvelope({{0, 10}, {3, 40}}, EnvelopeOn);
    Channel channel{};
    EXPECT_TRUE(envelopeRuns(volumeEnvelopeShape(instrument), volumeEnvelopeState(channel)));
    EXPECT_EQ(stepVolume(channel, instrument, 4), (Outputs{10, 20, 30, 40}));
    EXPECT_EQ(channel.volumeEnvelopeFinished, 1);
    const Instrument off = volumeEnvelope({{0, 10}, {3, 40}}, EnvelopeSustain);
    Channel idle{};
    EXPECT_FALSE(envelopeRuns(volumeEnvelopeShape(off), volumeEnvelopeState(idle)));
}

TEST(Envelope, LoopEndingAtTheLastPointNeverFinishes) {
    // Slopes of -32 and +32 a tick: 64, 32, 0, 32, then back to the loop start.
    Instrument instrument = volumeEnvelope({{0, 64}, {2, 0}, {4, 64}}, EnvelopeOn | EnvelopeLoop);
    instrument.volumeLoopStart = 0;
    instrument.volumeLoopEnd = 2;
    Channel channel{};
    EXPECT_EQ(stepVolume(channel, instrument, 9), (Outputs{64, 32, 0, 32, 64, 32, 0, 32, 64}));
    stepVolume(channel, instrument, 1000);
    EXPECT_EQ(channel.volumeEnvelopeFinished, 0);
    EXPECT_LE(channel.volumeEnvelopeTick, 4);
}

TEST(Envelope, LoopIsTestedBeforeSustain) {
    // The sustain point is the loop end but not the loop start: the loop wins and 64 is never
    // held.
    Instrument instrument =
        volumeEnvelope({{0, 0}, {2, 64}, {4, 32}}, EnvelopeOn | EnvelopeSustain | EnvelopeLoop);
    instrument.volumeSustainPoint = 1;
    instrument.volumeLoopStart = 0;
    instrument.volumeLoopEnd = 1;
    Channel channel{};
    EXPECT_EQ(stepVolume(channel, instrument, 6), (Outputs{0, 32, 0, 32, 0, 32}));

    // A one-point loop on the sustain point does hold.
    instrument.volumeLoopStart = 1;
    Channel holding{};
    EXPECT_EQ(stepVolume(holding, instrument, 5), (Outputs{0, 32, 64, 64, 64}));
}

TEST(Envelope, PanningEnvelopeUsesItsOwnStateAndFlag) {
    Instrument instrument;
    instrument.panningEnvelope[0] = {0, 32};
    instrument.panningEnvelope[1] = {2, 0};
    instrument.panningPointCount = 2;
    instrument.panningEnvelopeFlags = EnvelopeOn;
    Channel channel{};
    for (const std::int32_t output : {32, 16, 0}) {
        stepEnvelope(channel, panningEnvelopeState(channel), panningEnvelopeShape(instrument),
                     PanningChanged);
        EXPECT_EQ(channel.panningEnvelopeOutput, output);
    }
    EXPECT_EQ(channel.panningEnvelopeFinished, 1);
    EXPECT_EQ(channel.updateFlags, PanningChanged);
    EXPECT_EQ(channel.volumeEnvelopeTick, 0);
}

TEST(Envelope, MalformedPointsSaturateInsteadOfOverflowing) {
    // x goes backwards, so tick never meets x(1) again and the value keeps moving by the slope:
    // (0 - 65535 x 65536) / (0 - 5) = 858980352 a tick, held at INT32_MAX.
    const Instrument rising = volumeEnvelope({{5, 65535}, {0, 0}, {9, 0}}, EnvelopeOn);
    Channel channel{};
    const Outputs outputs = stepVolume(channel, rising, 5000);
    EXPECT_EQ(outputs.back(), 32767); // INT32_MAX >> 16
    EXPECT_EQ(channel.volumeEnvelopeFinished, 0);

    // The mirror falls to INT32_MIN.
    const Instrument falling = volumeEnvelope({{5, 0}, {0, 65535}, {9, 0}}, EnvelopeOn);
    Channel down{};
    EXPECT_EQ(stepVolume(down, falling, 5000).back(), -32768);

    // Repeated x gives a flat segment instead of a division by zero; its end is behind the
    // tick, so the value stays at the segment's start.
    const Instrument flat = volumeEnvelope({{0, 10}, {0, 50}, {3, 64}}, EnvelopeOn);
    Channel same{};
    EXPECT_EQ(stepVolume(same, flat, 10).back(), 10);
    EXPECT_EQ(same.volumeEnvelopeSlope, 0);
    EXPECT_EQ(same.volumeEnvelopeFinished, 0);
}

TEST(Envelope, LPlacesItInsideASegmentOnATruncatedSlope) {
    Instrument instrument = volumeEnvelope({{0, 64}, {10, 32}, {20, 0}}, EnvelopeOn);
    Channel channel{};
    channel.volumeEnvelopeFinished = 1;
    // slope = -32 x 65536 / 10 = -209715 (toward zero);
    // value = 5 x -209715 + 64 x 65536 = 3145729, output 48 (a rounded-down slope gives 47).
    setVolumeEnvelopePosition(channel, instrument, 5);
    EXPECT_EQ(channel.volumeEnvelopeFinished, 0);
    EXPECT_EQ(channel.volumeEnvelopeTick, 5);
    EXPECT_EQ(channel.volumeEnvelopePoint, 1);
    EXPECT_EQ(channel.volumeEnvelopeSlope, -209715);
    EXPECT_EQ(channel.volumeEnvelopeValue, 3145729);
    EXPECT_EQ(channel.volumeEnvelopeOutput, 48);

    // Second segment: 5 x -209715 + 32 x 65536 = 1048577, output 16; one step later
    // 838862, output 12.
    setVolumeEnvelopePosition(channel, instrument, 15);
    EXPECT_EQ(channel.volumeEnvelopePoint, 2);
    EXPECT_EQ(channel.volumeEnvelopeOutput, 16);
    EXPECT_EQ(stepVolume(channel, instrument, 1), (Outputs{12}));
    EXPECT_EQ(channel.volumeEnvelopeTick, 16);
}

TEST(Envelope, LPastTheLastPointFinishesAndDoesNothingWhileOff) {
    Instrument instrument = volumeEnvelope({{0, 64}, {10, 32}, {20, 7}}, EnvelopeOn);
    Channel channel{};
    channel.volumeEnvelopeOutput = 50;
    setVolumeEnvelopePosition(channel, instrument, 25);
    EXPECT_EQ(channel.volumeEnvelopeOutput, 7);
    EXPECT_EQ(channel.volumeEnvelopeFinished, 1);

    // Nothing happens while the envelope is off.
    instrument.volumeEnvelopeFlags = 0;
    Channel untouched{};
    untouched.volumeEnvelopeOutput = 50;
    setVolumeEnvelopePosition(untouched, instrument, 5);
    EXPECT_EQ(untouched.volumeEnvelopeOutput, 50);
    EXPECT_EQ(untouched.volumeEnvelopeTick, 0);
}

TEST(Envelope, LSearchesNoFurtherThanTheTwelvePoints) {
    std::vector<EnvelopePoint> points;
    for (std::uint16_t i = 0; i < xm::MaxEnvelopePoints; ++i) {
        points.push_back({static_cast<std::uint16_t>(2 * i), static_cast<std::uint16_t>(4 * i)});
    }
    Instrument instrument = volumeEnvelope(points, EnvelopeOn);
    // What lies behind the twelfth point would move the search further if it were read.
    instrument.panningEnvelope[0] = {0, 60};

    Channel channel{};
    setVolumeEnvelopePosition(channel, instrument, 21); // halfway from (20, 40) to (22, 44)
    EXPECT_EQ(channel.volumeEnvelopePoint, 11);
    EXPECT_EQ(channel.volumeEnvelopeOutput, 42);
    EXPECT_EQ(channel.volumeEnvelopeFinished, 0);

    setVolumeEnvelopePosition(channel, instrument, 200);
    EXPECT_EQ(channel.volumeEnvelopePoint, 11);
    EXPECT_EQ(channel.volumeEnvelopeOutput, 44);
    EXPECT_EQ(channel.volumeEnvelopeFinished, 1);
}

} // namespace
} // namespace omra
