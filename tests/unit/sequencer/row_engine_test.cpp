#include "unit/sequencer/sequencer_harness.h"

#include <gtest/gtest.h>

namespace omra::testing {
namespace {

using tools::XmCell;
using tools::XmModule;

// Where playback is on the first tick of the row that follows `ticks` ticks.
struct Place {
    int order;
    int row;
};

Place placeAfter(SequencerRun& run, int ticks) {
    run.ticks(ticks);
    const TickTrace& next = run.tick();
    EXPECT_EQ(next.tick, 0) << "not a row's first tick";
    return {next.orderPosition, next.row};
}

TEST(RowEngine, ARowLastsSpeedTicksAndOnlyItsFirstTickReadsTheCells) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 1, 0) = {C4, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(24);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(ticks[i].row, i / 6) << "tick " << i;
        EXPECT_EQ(ticks[i].tick, i % 6) << "tick " << i;
    }
    EXPECT_FALSE(ticks[5].channels[0].sounding);
    EXPECT_TRUE(ticks[6].channels[0].sounding) << "the note of row 1 starts on its first tick";
}

TEST(RowEngine, ASpeedSetOnARowAppliesToThatRow) {
    XmModule module = behaviourModule(1, 8);
    cell(module, 0, 0, 0) = effectCell(0x0F, 3);
    cell(module, 0, 1, 0) = effectCell(0x0F, 0);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(6);
    EXPECT_EQ(ticks[2].row, 0);
    EXPECT_EQ(ticks[3].row, 1) << "F03 makes its own row three ticks long";
    // With speed 0 every tick is a row's first tick.
    EXPECT_EQ(ticks[4].row, 2);
    EXPECT_EQ(ticks[5].row, 3);
    EXPECT_EQ(ticks[5].tick, 0);
}

TEST(RowEngine, APatternDelayRepeatsTheRowsTicksAndTheArpeggioKeepsCycling) {
    XmModule module = behaviourModule(2, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x00, 0x47};
    cell(module, 0, 0, 1) = effectCell(0x0E, 0xE2);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(19);
    // Speed 6 x (1 + 2) ticks; the arpeggio adds 4 then 7 semitones of 64 period units.
    const std::int32_t offsets[3] = {0, 4 * 64, 7 * 64};
    EXPECT_EQ(ticks[0].channels[0].periodOffset, 0);
    for (int i = 1; i < 18; ++i) {
        EXPECT_EQ(ticks[i].row, 0) << "tick " << i;
        EXPECT_EQ(ticks[i].channels[0].periodOffset, offsets[i % 3]) << "tick " << i;
    }
    EXPECT_EQ(ticks[18].row, 1);
    EXPECT_EQ(ticks[18].tick, 0);
}

TEST(RowEngine, OrderJumpAndPatternBreakCombineByChannelOrder) {
    // Break first, then jump: the jump's order at row 0.
    XmModule breakThenJump = behaviourModule(2, 16, 6);
    cell(breakThenJump, 0, 0, 0) = effectCell(0x0D, 0x10);
    cell(breakThenJump, 0, 0, 1) = effectCell(0x0B, 5);
    SequencerRun first(breakThenJump);
    const Place afterBreakThenJump = placeAfter(first, 6);
    EXPECT_EQ(afterBreakThenJump.order, 5);
    EXPECT_EQ(afterBreakThenJump.row, 0);

    // Jump first, then break: the jump's order at the break's row.
    XmModule jumpThenBreak = behaviourModule(2, 16, 6);
    cell(jumpThenBreak, 0, 0, 0) = effectCell(0x0B, 5);
    cell(jumpThenBreak, 0, 0, 1) = effectCell(0x0D, 0x10);
    SequencerRun second(jumpThenBreak);
    const Place afterJumpThenBreak = placeAfter(second, 6);
    EXPECT_EQ(afterJumpThenBreak.order, 5);
    EXPECT_EQ(afterJumpThenBreak.row, 10);
}

TEST(RowEngine, TheSongWrapsToTheRestartPositionButABreakOnTheLastOrderGoesToTheStart) {
    XmModule natural = behaviourModule(1, 2, 3);
    natural.restartPosition = 1;
    SequencerRun first(natural);
    const Place afterEnd = placeAfter(first, 3 * 2 * 6);
    EXPECT_EQ(afterEnd.order, 1) << "the natural end goes on at the restart position";
    EXPECT_EQ(afterEnd.row, 0);

    XmModule broken = behaviourModule(1, 2, 3);
    broken.restartPosition = 1;
    cell(broken, 2, 0, 0) = effectCell(0x0D, 0);
    SequencerRun second(broken);
    const Place afterBreak = placeAfter(second, 2 * 2 * 6 + 6);
    EXPECT_EQ(afterBreak.order, 0);
}

TEST(RowEngine, BreakRowsOutsideTheNextPatternPlayRowZero) {
    // D64 names row 64, past the 63 a break can reach.
    XmModule pastLimit = behaviourModule(1, 64, 2);
    cell(pastLimit, 0, 0, 0) = effectCell(0x0D, 0x64);
    SequencerRun first(pastLimit);
    EXPECT_EQ(placeAfter(first, 6).row, 0);

    // D12 into a pattern of 8 rows.
    XmModule shortNext = behaviourModule(1, 16, 2);
    shortNext.patterns[1] = tools::emptyPattern(8, 1);
    cell(shortNext, 0, 0, 0) = effectCell(0x0D, 0x12);
    SequencerRun second(shortNext);
    const Place afterBreak = placeAfter(second, 6);
    EXPECT_EQ(afterBreak.order, 1);
    EXPECT_EQ(afterBreak.row, 0);
}

TEST(RowEngine, APatternLoopRepeatsItsRowsAndLeavesWithABreaksOrder) {
    XmModule module = behaviourModule(2, 8, 2);
    cell(module, 0, 0, 0) = effectCell(0x0F, 1); // one tick per row
    cell(module, 0, 1, 1) = effectCell(0x0E, 0x60);
    cell(module, 0, 3, 1) = effectCell(0x0E, 0x62);
    SequencerRun run(module);
    std::vector<int> rows;
    for (const TickTrace& tick : run.ticks(11)) {
        rows.push_back(tick.row);
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 4}));

    // A break beside a running loop: the next order entry, at the loop's start row.
    XmModule withBreak = behaviourModule(2, 8, 2);
    cell(withBreak, 0, 0, 0) = effectCell(0x0F, 1);
    cell(withBreak, 0, 1, 1) = effectCell(0x0E, 0x60);
    cell(withBreak, 0, 3, 0) = effectCell(0x0D, 0x05);
    cell(withBreak, 0, 3, 1) = effectCell(0x0E, 0x62);
    SequencerRun broken(withBreak);
    const Place afterBoth = placeAfter(broken, 4);
    EXPECT_EQ(afterBoth.order, 1);
    EXPECT_EQ(afterBoth.row, 1);
}

TEST(RowEngine, NoteBytesNoFileHoldsAreIgnored) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {120, 1, 0, 0, 0};
    SequencerRun run(module);
    const TickTrace& first = run.tick();
    EXPECT_FALSE(first.channels[0].sounding);
    EXPECT_EQ(first.channels[0].note, 0);
}

} // namespace
} // namespace omra::testing
