#include "unit/sequencer/trace_cases.h"

namespace omra::testing {
namespace {

using tools::XmModule;

// Speed 6 unless a case sets it; the patterns are alike unless a case changes one.
const TraceCase RowEngineCases[] = {
    // The note of row 1 starts on its first tick.
    {.name = "ARowLastsSpeedTicksAndOnlyItsFirstTickReadsTheCells",
     .channels = {"| C-4 01"},
     .ticks = R"(
        0-5   row=0 tick=0,1,2,3,4,5 channel=0 voice=0(idle)
        6-11  row=1 tick=0,1,2,3,4,5 channel=0 voice=0
        12-17 row=2 tick=0,1,2,3,4,5
        18-23 row=3 tick=0,1,2,3,4,5)"},
    // F03 makes its own row three ticks long; with speed 0 every tick is a row's first tick.
    {.name = "ASpeedSetOnARowAppliesToThatRow",
     .channels = {"--- .. .. F03 | --- .. .. F00"},
     .rows = 8,
     .ticks = "2-5 row=0,1,2,3 tick=2,0,0,0"},
    // Speed 6 x (1 + 2) ticks; the arpeggio adds 4 then 7 semitones of 64 period units.
    {.name = "APatternDelayRepeatsTheRowsTicksAndTheArpeggioKeepsCycling",
     .channels = {"C-4 01 .. 047", "--- .. .. EE2"},
     .ticks = R"(
        0     channel=0 period=4608+0
        1-6   row=0 channel=0 period=4608+256,4608+448,4608+0,4608+256,4608+448,4608+0
        7-12  row=0 channel=0 period=4608+256,4608+448,4608+0,4608+256,4608+448,4608+0
        13-17 row=0 channel=0 period=4608+256,4608+448,4608+0,4608+256,4608+448
        18    row=1 tick=0)"},
    {.name = "APatternBreakBeforeAnOrderJumpGoesToRowZeroOfTheJumpsOrder",
     .channels = {"--- .. .. D10", "--- .. .. B05"},
     .rows = 16,
     .patterns = 6,
     .ticks = "6 order=5 row=0 tick=0"},
    {.name = "AnOrderJumpBeforeAPatternBreakGoesToTheBreaksRowOfTheJumpsOrder",
     .channels = {"--- .. .. B05", "--- .. .. D10"},
     .rows = 16,
     .patterns = 6,
     .ticks = "6 order=5 row=10 tick=0"},
    {.name = "TheSongWrapsToTheRestartPosition",
     .channels = {""},
     .rows = 2,
     .patterns = 3,
     .adjust = [](XmModule& module) { module.restartPosition = 1; },
     .ticks = "36 order=1 row=0 tick=0"},
    {.name = "ABreakOnTheLastOrderGoesToTheStartNotTheRestartPosition",
     .channels = {""},
     .rows = 2,
     .patterns = 3,
     .adjust =
         [](XmModule& module) {
             module.restartPosition = 1;
             cell(module, 2, 0, 0).effect = 0x0D; // D00
         },
     .ticks = "30 order=0 tick=0"},
    // D64 names row 64, past the 63 a break can reach.
    {.name = "ABreakToARowPast63PlaysRowZero",
     .channels = {"--- .. .. D64"},
     .rows = 64,
     .patterns = 2,
     .ticks = "6 row=0 tick=0"},
    {.name = "ABreakPastTheNextPatternsRowsPlaysRowZero",
     .channels = {"--- .. .. D12"},
     .rows = 16,
     .patterns = 2,
     .adjust = [](XmModule& module) { module.patterns[1] = tools::emptyPattern(8, 1); },
     .ticks = "6 order=1 row=0 tick=0"},
    // One tick per row.
    {.name = "APatternLoopRepeatsItsRows",
     .channels = {"--- .. .. F01", "| --- .. .. E60 | . | --- .. .. E62"},
     .rows = 8,
     .patterns = 2,
     .ticks = "0-10 row=0,1,2,3,1,2,3,1,2,3,4"},
    // A break beside a running loop: the next order entry, at the loop's start row.
    {.name = "APatternLoopLeavesWithABreaksOrderAtItsStartRow",
     .channels = {"--- .. .. F01 | . | . | --- .. .. D05", "| --- .. .. E60 | . | --- .. .. E62"},
     .rows = 8,
     .patterns = 2,
     .ticks = "4 order=1 row=1 tick=0"},
    {.name = "NoteBytesNoFileHoldsAreIgnored",
     .channels = {""},
     .adjust =
         [](XmModule& module) {
             cell(module, 0, 0, 0) = {120, 1, 0, 0, 0};
         },
     .ticks = "0 channel=0 voice=0(idle) note=C-0"},
};

OMRA_TRACE_CASE_TABLE(RowEngine, RowEngineCases);

} // namespace
} // namespace omra::testing
