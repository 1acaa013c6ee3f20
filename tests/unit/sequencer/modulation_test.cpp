#include "records/channel.h"
#include "records/song.h"
#include "sequencer/modulation.h"
#include "sequencer/waveforms.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace omra {
namespace {

Channel vibratoChannel(std::uint8_t waveformControl, std::int8_t position, std::uint8_t depth) {
    Channel channel{};
    channel.waveformControl = waveformControl;
    channel.vibratoPosition = position;
    channel.vibratoDepth = depth;
    return channel;
}

std::int32_t vibratoOffset(std::uint8_t waveformControl, std::int8_t position, std::uint8_t depth) {
    Channel channel = vibratoChannel(waveformControl, position, depth);
    vibrato(channel);
    EXPECT_EQ(channel.updateFlags, PitchChanged);
    return channel.periodOffset;
}

Instrument autoVibratoInstrument(std::uint8_t type, std::uint8_t depth, std::uint8_t rate,
                                 std::uint8_t sweep) {
    Instrument instrument;
    instrument.vibratoType = type;
    instrument.vibratoDepth = depth;
    instrument.vibratoRate = rate;
    instrument.vibratoSweep = sweep;
    return instrument;
}

TEST(Waveforms, VibratoSineRampAndSquareRiseTo255) {
    // |sin(2p x 2pi/128)| x 256: 0 at 0, 255.99.. at a quarter cycle, 181.02 at an eighth.
    EXPECT_EQ(waveformValue(Waveform::Sine, 0), 0);
    EXPECT_EQ(waveformValue(Waveform::Sine, 16), 255);
    EXPECT_EQ(waveformValue(Waveform::Sine, -16), 255);
    EXPECT_EQ(waveformValue(Waveform::Sine, 8), 181);
    EXPECT_EQ(waveformValue(Waveform::Sine, -8), 181);
    EXPECT_EQ(waveformValue(Waveform::Ramp, 0), 0);
    EXPECT_EQ(waveformValue(Waveform::Ramp, 31), 248);
    EXPECT_EQ(waveformValue(Waveform::Ramp, -32), 255);
    EXPECT_EQ(waveformValue(Waveform::Ramp, -1), 7); // 255 - 8 x 31
    EXPECT_EQ(waveformValue(Waveform::Square, -5), 255);
    EXPECT_EQ(waveformValue(Waveform::Square, 30), 255);
}

TEST(Waveforms, AutoVibratoWaveformsSwingWithin64AndUndefinedTypesStayFlat) {
    // Sine: sin(64 x 2pi/256) x 64 is just under 64.
    EXPECT_EQ(autoVibratoValue(0, 0), 0);
    EXPECT_EQ(autoVibratoValue(0, 32), 45); // 64 x 0.7071
    EXPECT_EQ(autoVibratoValue(0, 64), 63);
    EXPECT_EQ(autoVibratoValue(0, 192), -63);
    // Square.
    EXPECT_EQ(autoVibratoValue(1, 0), 64);
    EXPECT_EQ(autoVibratoValue(1, 127), 64);
    EXPECT_EQ(autoVibratoValue(1, 128), -64);
    EXPECT_EQ(autoVibratoValue(1, 255), -64);
    // Ramp down: (128 - ((p + 128) mod 256)) >> 1.
    EXPECT_EQ(autoVibratoValue(2, 0), 0);
    EXPECT_EQ(autoVibratoValue(2, 1), -1); // -1 >> 1
    EXPECT_EQ(autoVibratoValue(2, 64), -32);
    EXPECT_EQ(autoVibratoValue(2, 127), -64);
    EXPECT_EQ(autoVibratoValue(2, 128), 64);
    EXPECT_EQ(autoVibratoValue(2, 192), 32);
    // Ramp up: (128 - ((384 - p) mod 256)) >> 1.
    EXPECT_EQ(autoVibratoValue(3, 0), 0);
    EXPECT_EQ(autoVibratoValue(3, 64), 32);
    EXPECT_EQ(autoVibratoValue(3, 127), 63);
    EXPECT_EQ(autoVibratoValue(3, 128), 64);
    EXPECT_EQ(autoVibratoValue(3, 129), -64);
    EXPECT_EQ(autoVibratoValue(3, 255), -1);
    for (const int type : {4, 5, 255}) {
        EXPECT_EQ(autoVibratoValue(static_cast<std::uint8_t>(type), 64), 0);
        EXPECT_EQ(autoVibratoValue(static_cast<std::uint8_t>(type), 192), 0);
    }
}

TEST(Modulation, VibratoOffsetsThePeriodByWaveTimesDepthInStepsOf4) {
    // (255 x 15) >> 5 = 119, low bits cleared 116; positive while p < 0.
    EXPECT_EQ(vibratoOffset(0x00, -16, 15), 116);
    EXPECT_EQ(vibratoOffset(0x00, 16, 15), -116);
    EXPECT_EQ(vibratoOffset(0x00, 8, 8), -44);  // 181 x 8 = 1448, >> 5 = 45, cleared 44
    EXPECT_EQ(vibratoOffset(0x01, 4, 15), -12); // ramp 32 x 15 = 480, >> 5 = 15, cleared 12
    EXPECT_EQ(vibratoOffset(0x01, -20, 8), 36); // ramp 159 x 8 = 1272, >> 5 = 39, cleared 36
    EXPECT_EQ(vibratoOffset(0x02, 5, 4), -28);  // 255 x 4 = 1020, >> 5 = 31, cleared 28
    EXPECT_EQ(vibratoOffset(0x03, -5, 4), 28);
}

TEST(Modulation, VibratoReplacesTheOffsetAndItsPositionWrapsPast31) {
    Channel channel = vibratoChannel(0x02, 30, 4);
    channel.periodOffset = 1000;
    channel.vibratoSpeed = 3;
    vibrato(channel);
    EXPECT_EQ(channel.periodOffset, -28);
    EXPECT_EQ(channel.vibratoPosition, 30); // vibrato itself leaves the position
    advanceVibrato(channel);
    EXPECT_EQ(channel.vibratoPosition, -31); // 33 - 64
    advanceVibrato(channel);
    EXPECT_EQ(channel.vibratoPosition, -28);
}

TEST(Modulation, TremoloHeldWithinTheVolumeRange) {
    Channel channel{};
    channel.waveformControl = 0x00;
    channel.tremoloDepth = 15;
    // (255 x 15) >> 6 = 59, limited to 64 - 60.
    channel.volume = 60;
    channel.tremoloPosition = 16;
    tremolo(channel);
    EXPECT_EQ(channel.volumeOffset, 4);
    EXPECT_EQ(channel.updateFlags, VolumeChanged);
    // Mirror: going down by 59 from 3 is limited to 3.
    channel.volume = 3;
    channel.tremoloPosition = -16;
    tremolo(channel);
    EXPECT_EQ(channel.volumeOffset, -3);
    // Unlimited when there is room.
    channel.volume = 60;
    channel.tremoloPosition = -16;
    tremolo(channel);
    EXPECT_EQ(channel.volumeOffset, -59);
}

TEST(Modulation, TremoloFollowsItsWaveformAndItsPositionWrapsPast31) {
    Channel channel{};
    channel.volume = 32;
    channel.tremoloDepth = 8;
    channel.tremoloSpeed = 15;
    const std::vector<std::pair<std::uint8_t, std::int32_t>> cases = {
        {0x30, 22}, // sine 181 x 8 >> 6
        {0x10, 8},  // ramp 64 x 8 >> 6
        {0x20, 31}, // square 255 x 8 >> 6
    };
    for (const auto& [control, offset] : cases) {
        channel.waveformControl = control;
        channel.tremoloPosition = 8;
        tremolo(channel);
        EXPECT_EQ(channel.volumeOffset, offset) << int{control};
        EXPECT_EQ(channel.tremoloPosition, 23);
    }
    channel.tremoloPosition = 20;
    tremolo(channel);
    EXPECT_EQ(channel.tremoloPosition, -29); // 35 - 64
}

TEST(Modulation, TremorSilencesTheOffTicksOfEveryCycle) {
    Channel channel{};
    channel.volume = 40;
    channel.tremorOnTicks = 2;
    channel.tremorOffTicks = 3;
    const std::vector<std::int32_t> expected = {0, 0, -40, -40, -40, 0, 0, -40, -40, -40, 0};
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
        channel.volumeOffset = 0;
        channel.updateFlags = 0;
        tremor(channel);
        EXPECT_EQ(channel.volumeOffset, expected[tick]) << "tick " << tick;
        EXPECT_EQ(channel.updateFlags, VolumeChanged);
    }
}

TEST(Modulation, TonePortamentoStopsAtTheTarget) {
    Channel channel{};
    channel.portamentoSpeed = 10;
    channel.portamentoTarget = 1100;
    channel.period = 1000;
    for (const std::int32_t period : {1040, 1080, 1100, 1100}) {
        channel.updateFlags = 0;
        tonePortamento(channel);
        EXPECT_EQ(channel.period, period);
        EXPECT_EQ(channel.updateFlags, PitchChanged);
    }
    channel.period = 1200;
    for (const std::int32_t period : {1160, 1120, 1100, 1100}) {
        tonePortamento(channel);
        EXPECT_EQ(channel.period, period);
    }
}

TEST(Modulation, AutoVibratoAddsToTheOffsetAndAdvances) {
    const Instrument instrument = autoVibratoInstrument(0, 16, 10, 0);
    Channel channel{};
    channel.periodOffset = 100;
    channel.autoVibratoPosition = 64;
    autoVibrato(channel, instrument);
    EXPECT_EQ(channel.periodOffset, 115); // 16 x 63 = 1008, >> 6 = 15
    EXPECT_EQ(channel.autoVibratoPosition, 74);
    EXPECT_EQ(channel.updateFlags, PitchChanged);

    channel.periodOffset = 0;
    channel.autoVibratoPosition = 192;
    autoVibrato(channel, instrument);
    EXPECT_EQ(channel.periodOffset, -16); // -1008 >> 6 rounds down
    channel.autoVibratoPosition = 250;
    autoVibrato(channel, instrument);
    EXPECT_EQ(channel.autoVibratoPosition, 4); // 260 - 256

    // Undefined types add nothing but still flag the pitch.
    Channel other{};
    other.periodOffset = 7;
    autoVibrato(other, autoVibratoInstrument(4, 15, 1, 0));
    EXPECT_EQ(other.periodOffset, 7);
    EXPECT_EQ(other.updateFlags, PitchChanged);
}

TEST(Modulation, AutoVibratoSweepGrowsTheDepth) {
    // Square 64 x depth 16 = 1024 at full depth, reached after four ticks.
    const Instrument instrument = autoVibratoInstrument(1, 16, 0, 4);
    Channel channel{};
    for (const std::int32_t offset : {0, 4, 8, 12, 16, 16, 16}) {
        channel.periodOffset = 0;
        autoVibrato(channel, instrument);
        EXPECT_EQ(channel.periodOffset, offset);
    }
    EXPECT_EQ(channel.autoVibratoSweepCounter, 4);
}

TEST(Modulation, AutoVibratoSweepTruncatesTowardZero) {
    // 1 x (101 x -64) / 100 = -64.64, truncated to -64, >> 6 = -1 (rounding down gives -2).
    Channel channel{};
    channel.autoVibratoPosition = 128;
    channel.autoVibratoSweepCounter = 1;
    autoVibrato(channel, autoVibratoInstrument(1, 101, 0, 100));
    EXPECT_EQ(channel.periodOffset, -1);
}

} // namespace
} // namespace omra
