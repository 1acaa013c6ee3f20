#include "records/player_state.h"
#include "unit/sequencer/sequencer_harness.h"

#include <gtest/gtest.h>

namespace omra::testing {
namespace {

using tools::XmModule;

// The value of one channel field on every tick, in order.
template <typename Field>
std::vector<std::int32_t> column(const std::vector<TickTrace>& ticks, int channel, Field field) {
    std::vector<std::int32_t> values;
    for (const TickTrace& tick : ticks) {
        values.push_back(static_cast<std::int32_t>(tick.channels[channel].*field));
    }
    return values;
}

TEST(Effects, ArpeggioRaisesBySemitonesOnEitherTable) {
    XmModule linear = behaviourModule(2, 4);
    cell(linear, 0, 0, 0) = {C4, 1, 0, 0x00, 0x47};
    cell(linear, 0, 0, 1) = {C4, 1, 0, 0x00, 0x00};
    SequencerRun linearRun(linear);
    const std::vector<TickTrace> ticks = linearRun.ticks(6);
    EXPECT_EQ(column(ticks, 0, &ChannelTrace::periodOffset),
              (std::vector<std::int32_t>{0, 256, 448, 0, 256, 448}));
    EXPECT_EQ(column(ticks, 1, &ChannelTrace::periodOffset),
              (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0}));

    // Amiga periods: trunc(13.375 x 2^(80/12)) = 1358 for four semitones above C-4's 1712.
    XmModule amiga = linear;
    amiga.linearFrequencies = false;
    SequencerRun amigaRun(amiga);
    const std::vector<TickTrace> amigaTicks = amigaRun.ticks(2);
    EXPECT_EQ(amigaTicks[1].channels[0].periodOffset, 1358 - 1712);
    EXPECT_EQ(amigaTicks[1].channels[0].frequency, 14317056 / 1358);
}

TEST(Effects, EachPortamentoKeepsItsOwnMemory) {
    XmModule module = behaviourModule(1, 8);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x02, 0x03};
    cell(module, 0, 1, 0) = effectCell(0x01, 0x04);
    cell(module, 0, 2, 0) = effectCell(0x02, 0x00);
    cell(module, 0, 3, 0) = effectCell(0x01, 0x00);
    cell(module, 0, 4, 0) = effectCell(0x0E, 0x12); // fine: 4 x 2 once
    cell(module, 0, 5, 0) = effectCell(0x21, 0x13); // extra fine: 3 once
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(36);
    // Down 3 x 4 per tick, up 4 x 4, down again by the kept 3, up by the kept 4.
    EXPECT_EQ(ticks[5].channels[0].period, 4608 + 5 * 12);
    EXPECT_EQ(ticks[11].channels[0].period, 4668 - 5 * 16);
    EXPECT_EQ(ticks[17].channels[0].period, 4588 + 5 * 12);
    EXPECT_EQ(ticks[23].channels[0].period, 4648 - 5 * 16);
    EXPECT_EQ(ticks[24].channels[0].period, 4568 - 8);
    EXPECT_EQ(ticks[29].channels[0].period, 4560);
    EXPECT_EQ(ticks[30].channels[0].period, 4560 - 3);
}

TEST(Effects, PortamentoUpStopsAt56AndOnlyTheColumnPanningSlideLeavesTheRange) {
    XmModule module = behaviourModule(3, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x01, 0xFF};
    cell(module, 0, 0, 1) = {C4, 1, 0xEF, 0x08, 0xF0}; // column slides on from 240
    cell(module, 0, 0, 2) = {C4, 1, 0xCF, 0x19, 0xF0}; // effect slides on from 240
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(6);
    EXPECT_EQ(ticks[4].channels[0].period, 4608 - 4 * 4 * 255);
    EXPECT_EQ(ticks[5].channels[0].period, 56);
    EXPECT_EQ(ticks[5].channels[1].panning, 240 + 5 * 15);
    EXPECT_EQ(ticks[5].channels[1].gainLeft, 0) << "heard as 255, fully right";
    EXPECT_EQ(ticks[5].channels[2].panning, 255);
}

TEST(Effects, VolumeSlidesShareOneMemory) {
    XmModule module = behaviourModule(1, 8);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0A, 0x02};
    cell(module, 0, 1, 0) = effectCell(0x0A, 0x00);
    cell(module, 0, 2, 0) = effectCell(0x05, 0x00);
    cell(module, 0, 3, 0) = effectCell(0x06, 0x00);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(24);
    EXPECT_EQ(ticks[5].channels[0].volume, 48 - 10);
    EXPECT_EQ(ticks[11].channels[0].volume, 38 - 10);
    EXPECT_EQ(ticks[17].channels[0].volume, 28 - 10);
    EXPECT_EQ(ticks[23].channels[0].volume, 18 - 10);
}

TEST(Effects, VibratoAppliesTheCurrentPositionOnItsFirstTick) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x04, 0x47};
    cell(module, 0, 1, 0) = effectCell(0x04, 0x00);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_EQ(ticks[0].channels[0].periodOffset, 0) << "position 0 is the sine's zero";
    // Five later ticks moved the position to 20: trunc(|sin(40 x 0.049087375)| x 256) = 236,
    // (236 x 7) >> 5 = 51, low bits cleared 48, negative in the cycle's upper half.
    EXPECT_EQ(ticks[6].channels[0].periodOffset, -48);
}

TEST(Effects, TheVolumeColumnActsBeforeTheEffectInTheSameTick) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0x30, 0x0C, 0x10};
    cell(module, 0, 1, 0) = {0, 0, 0x72, 0x0A, 0x01};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(12);
    EXPECT_EQ(ticks[0].channels[0].volume, 16) << "C10 after the column's 32";
    EXPECT_EQ(ticks[6].channels[0].volume, 18) << "the column slides on the first tick too";
    EXPECT_EQ(ticks[11].channels[0].volume, 18 + 5 * (2 - 1));
}

TEST(Effects, RetriggersRestartTheNoteOnTheirTicks) {
    XmModule module = behaviourModule(2, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0E, 0x93};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0x1B, 0x62}; // every 2nd tick, volume x 2 / 3
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(6);
    EXPECT_EQ(column(ticks, 0, &ChannelTrace::voice),
              (std::vector<std::int32_t>{0, 0, 0, 32, 32, 32}));
    EXPECT_EQ(column(ticks, 1, &ChannelTrace::voice),
              (std::vector<std::int32_t>{1, 1, 33, 33, 1, 1}));
    EXPECT_EQ(column(ticks, 1, &ChannelTrace::volume),
              (std::vector<std::int32_t>{48, 48, 32, 32, 21, 21}));
}

TEST(Effects, NoteCutSilencesOnItsTickOnly) {
    XmModule module = behaviourModule(3, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0E, 0xC2};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0x0E, 0xC0};
    cell(module, 0, 0, 2) = {C4, 1, 0, 0x0E, 0xC7};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(6);
    EXPECT_EQ(column(ticks, 0, &ChannelTrace::volume),
              (std::vector<std::int32_t>{48, 48, 0, 0, 0, 0}));
    EXPECT_EQ(ticks[5].channels[1].volume, 48) << "EC0 never cuts";
    EXPECT_EQ(ticks[5].channels[2].volume, 48) << "past the row's ticks never cuts";
}

TEST(Effects, GlobalVolumeReachesAVoiceOnlyWhenItsVolumeIsPushed) {
    XmModule module = behaviourModule(2, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0, 0};
    cell(module, 0, 1, 1) = effectCell(0x10, 0x20);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(13);
    // Panning 128: gainRight = 128 x loudness / 255. Loudness 95 at global 64, 47 at 32.
    EXPECT_EQ(ticks[6].channels[1].gainRight, 128 * 47 / 255);
    for (int i = 6; i < 12; ++i) {
        EXPECT_EQ(ticks[i].channels[0].gainRight, 128 * 95 / 255)
            << "channel 0 went before the change, tick " << i;
    }
    EXPECT_EQ(ticks[12].channels[0].gainRight, 128 * 47 / 255) << "the next row pushes it";
}

TEST(Effects, AStoppedTremoloLeavesItsLastOffset) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x07, 0x4F};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    // Position 16 on tick 5: the sine's peak, (255 x 15) >> 6 = 59, held to 64 - 48.
    EXPECT_EQ(ticks[5].channels[0].volumeOffset, 16);
    EXPECT_EQ(ticks[6].channels[0].volume, 64);
}

TEST(Effects, TremorAlternatesOnAndOffTicks) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x1D, 0x12}; // on 2 ticks, off 3
    SequencerRun run(module);
    EXPECT_EQ(column(run.ticks(6), 0, &ChannelTrace::volumeOffset),
              (std::vector<std::int32_t>{0, 0, -48, -48, -48, 0}));
}

TEST(Effects, PanningZeroIsLeftAnd255IsRight) {
    XmModule module = behaviourModule(3, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x08, 0x00};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0x08, 0xFF};
    cell(module, 0, 0, 2) = {C4, 1, 0xC4, 0, 0}; // column panning 4 x 16
    SequencerRun run(module);
    const TickTrace& first = run.tick();
    EXPECT_EQ(first.channels[0].gainLeft, 95);
    EXPECT_EQ(first.channels[0].gainRight, 0);
    EXPECT_EQ(first.channels[1].gainLeft, 0);
    EXPECT_EQ(first.channels[1].gainRight, 95);
    EXPECT_EQ(first.channels[2].gainLeft, (255 - 64) * 95 / 255);
    EXPECT_EQ(first.channels[2].gainRight, 64 * 95 / 255);
}

TEST(Effects, SetFinetuneChangesTheSampleForEveryChannel) {
    XmModule module = behaviourModule(2, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0E, 0x5F};
    cell(module, 0, 1, 1) = {C4, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_EQ(ticks[0].channels[0].period, 4608) << "the period was already computed";
    EXPECT_EQ(ticks[6].channels[1].period, 4608 - 15 / 2);
}

} // namespace
} // namespace omra::testing
