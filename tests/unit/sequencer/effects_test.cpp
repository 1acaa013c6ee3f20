#include "unit/sequencer/trace_cases.h"

namespace omra::testing {
namespace {

// The looping sample plays at volume 48: loudness 95 of 127, gain 47/47 at the centre.
const TraceCase EffectCases[] = {
    {.name = "ArpeggioRaisesBySemitonesOnTheLinearTable",
     .channels = {"C-4 01 .. 047", "C-4 01 .. 000"},
     .ticks = R"(
        0-5 channel=0 period=4608+0,4608+256,4608+448,4608+0,4608+256,4608+448
        0-5 channel=1 period=4608+0)"},
    // trunc(13.375 x 2^(80/12)) = 1358 for four semitones above C-4's 1712.
    {.name = "ArpeggioRaisesBySemitonesOnTheAmigaTable",
     .channels = {"C-4 01 .. 047", "C-4 01 .. 000"},
     .adjust = [](tools::XmModule& module) { module.linearFrequencies = false; },
     .ticks = "1 channel=0 period=1712-354 frequency=10542"},
    // Down 3 x 4 per tick, up 4 x 4, down again by the kept 3, up by the kept 4; then fine
    // (4 x 2 once) and extra fine (3 once).
    {.name = "EachPortamentoKeepsItsOwnMemory",
     .channels = {"C-4 01 .. 203 | --- .. .. 104 | --- .. .. 200 | --- .. .. 100 |"
                  "--- .. .. E12 | --- .. .. X13"},
     .rows = 8,
     .ticks = R"(
        5  channel=0 period=4668+0
        11 channel=0 period=4588+0
        17 channel=0 period=4648+0
        23 channel=0 period=4568+0
        24 channel=0 period=4560+0
        29 channel=0 period=4560+0
        30 channel=0 period=4557+0)"},
    // The column slides on from 240 and is heard as 255, fully right; the effect stops there.
    {.name = "PortamentoUpStopsAt56AndOnlyTheColumnPanningSlideLeavesTheRange",
     .channels = {"C-4 01 .. 1FF", "C-4 01 RF 8F0", "C-4 01 PF PF0"},
     .ticks = R"(
        4 channel=0 period=528+0
        5 channel=0 period=56+0 channel=1 panning=315 gain=0/95 channel=2 panning=255)"},
    {.name = "VolumeSlidesShareOneMemory",
     .channels = {"C-4 01 .. A02 | --- .. .. A00 | --- .. .. 500 | --- .. .. 600"},
     .rows = 8,
     .ticks = R"(
        5  channel=0 volume=38+0
        11 channel=0 volume=28+0
        17 channel=0 volume=18+0
        23 channel=0 volume=8+0)"},
    // Position 0 is the sine's zero. Five later ticks move the position to 20:
    // trunc(|sin(40 x 0.049087375)| x 256) = 236, (236 x 7) >> 5 = 51, low bits cleared 48,
    // negative in the cycle's upper half.
    {.name = "VibratoAppliesTheCurrentPositionOnItsFirstTick",
     .channels = {"C-4 01 .. 447 | --- .. .. 400"},
     .ticks = R"(
        0 channel=0 period=4608+0
        6 channel=0 period=4608-48)"},
    // C10 after the column's 32; the column slides on the first tick too.
    {.name = "TheVolumeColumnActsBeforeTheEffectInTheSameTick",
     .channels = {"C-4 01 20 C10 | --- .. +2 A01"},
     .ticks = R"(
        0  channel=0 volume=16+0
        6  channel=0 volume=18+0
        11 channel=0 volume=23+0)"},
    // R62: every 2nd tick, volume x 2 / 3.
    {.name = "RetriggersRestartTheNoteOnTheirTicks",
     .channels = {"C-4 01 .. E93", "C-4 01 .. R62"},
     .ticks = R"(
        0-5 channel=0 voice=0,0,0,32,32,32 channel=1 voice=1,1,33,33,1,1
        0-5 channel=1 volume=48+0,48+0,32+0,32+0,21+0,21+0)"},
    // EC0 never cuts, nor does EC7 past the row's six ticks.
    {.name = "NoteCutSilencesOnItsTickOnly",
     .channels = {"C-4 01 .. EC2", "C-4 01 .. EC0", "C-4 01 .. EC7"},
     .ticks = R"(
        0-5 channel=0 volume=48+0,48+0,0+0,0+0,0+0,0+0
        5   channel=1 volume=48+0 channel=2 volume=48+0)"},
    // Loudness 95 at global volume 64, 47 at 32. Channel 0 went before the change; the next
    // row pushes it.
    {.name = "GlobalVolumeReachesAVoiceOnlyWhenItsVolumeIsPushed",
     .channels = {"C-4 01", "C-4 01 | --- .. .. G20"},
     .ticks = R"(
        6    global=32 channel=1 gain=23/23
        6-11 channel=0 gain=47/47
        12   channel=0 gain=23/23)"},
    // Position 16 on tick 5: the sine's peak, (255 x 15) >> 6 = 59, held to 64 - 48.
    {.name = "AStoppedTremoloLeavesItsLastOffset", .channels = {"C-4 01 .. 74F"}, .ticks = R"(
        5 channel=0 volume=48+16
        6 channel=0 volume=64+0)"},
    // On 2 ticks, off 3.
    {.name = "TremorAlternatesOnAndOffTicks",
     .channels = {"C-4 01 .. T12"},
     .ticks = "0-5 channel=0 volume=48+0,48+0,48-48,48-48,48-48,48+0"},
    // The column's P4 is panning 4 x 16.
    {.name = "PanningZeroIsLeftAnd255IsRight",
     .channels = {"C-4 01 .. 800", "C-4 01 .. 8FF", "C-4 01 P4"},
     .ticks = "0 channel=0 gain=95/0 channel=1 gain=0/95 channel=2 gain=71/23"},
    // Channel 0's own period was already computed; channel 1's note takes finetune 15.
    {.name = "SetFinetuneChangesTheSampleForEveryChannel",
     .channels = {"C-4 01 .. E5F", "| C-4 01"},
     .ticks = R"(
        0 channel=0 period=4608+0
        6 channel=1 period=4601+0)"},
};

OMRA_TRACE_CASE_TABLE(Effects, EffectCases);

} // namespace
} // namespace omra::testing
