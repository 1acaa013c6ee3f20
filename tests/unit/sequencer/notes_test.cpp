#include "records/player_state.h"
#include "unit/sequencer/trace_cases.h"

#include <gtest/gtest.h>

namespace omra::testing {
namespace {

using tools::XmModule;

// The looping sample plays at volume 48: 48 x 64 x 65536 x 64 x 255 / 2^35 = loudness 95,
// gain 47/47 at the centre (94 would give 46/47, 96 47/48).
const TraceCase NoteCases[] = {
    {.name = "ANoteWithAnInstrumentStartsTheSampleAtItsPitchAndVolume",
     .channels = {"C-4 01"},
     .ticks = "0 channel=0 voice=0 period=4608+0 frequency=8363 volume=48+0 gain=47/47"},
    // Row 1: a note alone restarts (on the partner voice) and keeps the volume. Row 2: an
    // instrument alone resets the volume and leaves the sample playing where it is.
    {.name = "OnlyAnInstrumentNumberResetsVolumeAndOnlyANoteRestartsTheSample",
     .channels = {"C-4 01 .. C20 | D-4 | --- 01"},
     .ticks = R"(
        0  channel=0 voice=0  volume=32+0
        6  channel=0 voice=32 volume=32+0
        12 channel=0 voice=32 volume=48+0 period=4480+0)"},
    // A note without an instrument number stays released; an instrument number sounds again.
    {.name = "AReleasedNoteWithoutVolumeEnvelopeIsSilentUntilTheNextInstrumentNumber",
     .channels = {"C-4 01 | === | C-4 | C-4 01"},
     .rows = 8,
     .ticks = R"(
        5  channel=0 gain=47/47
        6  channel=0 keyoff=1 venv=0 gain=0/0
        12 channel=0 gain=0/0
        18 channel=0 keyoff=0 gain=47/47)"},
    {.name = "AKeyOffBesideAnInstrumentNumberReleasesAfterTheReset",
     .channels = {"C-4 01 | === 01"},
     .ticks = "6 channel=0 keyoff=1 venv=0"},
    // Down to 40 at tick 2 (halfway, a slope of -12 per tick), sustain there, down to 8 at
    // tick 6; the player doubles the stored fadeout: 4096 per tick. Released on tick 12, the
    // envelope leaves the sustain point and the fadeout starts at once.
    {.name = "ASustainedEnvelopeHoldsUntilKeyOffThenFadesOut",
     .channels = {"C-4 01 | . | ==="},
     .rows = 8,
     .adjust =
         [](XmModule& module) {
             tools::XmInstrument& instrument = module.instruments[0];
             instrument.volumeEnvelope.points = {{0, 64}, {2, 40}, {6, 8}};
             instrument.volumeEnvelope.sustainPoint = 1;
             instrument.volumeEnvelope.flags = 1 | 2;
             instrument.fadeout = 2048;
         },
     .ticks = R"(
        0-1   channel=0 venv=64,52
        2-11  channel=0 venv=40 fadeout=65536
        12    channel=0 venv=40 fadeout=61440
        13    channel=0 venv=32 fadeout=57344
        16-17 channel=0 venv=8)"},
    // The loop end is the last point, so the envelope never finishes; L02 puts it halfway up
    // the first segment.
    {.name = "ALoopedEnvelopeRepeatsAndLPlacesItMidSegment",
     .channels = {"C-4 01 | . | . | --- .. .. L02"},
     .rows = 8,
     .adjust =
         [](XmModule& module) {
             tools::XmInstrument& instrument = module.instruments[0];
             instrument.volumeEnvelope.points = {{0, 0}, {4, 64}, {8, 0}};
             instrument.volumeEnvelope.loopStart = 0;
             instrument.volumeEnvelope.loopEnd = 2;
             instrument.volumeEnvelope.flags = 1 | 4;
         },
     .ticks = R"(
        0-16 channel=0 venv=0,16,32,48,64,48,32,16,0,16,32,48,64,48,32,16,0
        18   channel=0 venv=32)"},
    // The volume column acts again when the note starts: loudness
    // 16 x 64 x 65536 x 64 x 255 / 2^35 = 31, gain 15/15. ED0 never starts, nor does ED7 past
    // a 6-tick row.
    {.name = "ADelayedNoteStartsOnItsTickAndNotAtAllPastTheRow",
     .channels = {"C-4 01 10 ED3", "C-4 01 .. ED0", "C-4 01 .. ED7"},
     .ticks = R"(
        2   channel=0 voice=0(idle)
        3   channel=0 voice=0 gain=15/15
        0-5 channel=1 voice=1(idle) channel=2 voice=2(idle))"},
    // No restart, and the playing instrument stays; the instrument number resets the volume
    // from the playing sample. 4 semitones up on the playing sample (not the other sample's
    // relative note): 4608 - 256, 64 per tick.
    {.name = "TonePortamentoSlidesToTheNoteOnThePlayingSample",
     .channels = {"C-4 01 .. C10 | E-4 02 .. 310"},
     .adjust =
         [](XmModule& module) {
             tools::XmSample other = loopingSample();
             other.relativeNote = 12;
             other.volume = 20;
             module.instruments.push_back(instrumentWith(other));
         },
     .ticks = R"(
        6     channel=0 voice=0 period=4608+0 instrument=1 volume=48+0
        7     channel=0 period=4544+0
        10-11 channel=0 period=4352+0)"},
    {.name = "ColumnTonePortamentoChangesPitchAtOnceWithoutRestart",
     .channels = {"C-4 01 | E-4 .. M2"},
     .ticks = "6 channel=0 voice=0 period=4352+0"},
};

OMRA_TRACE_CASE_TABLE(Notes, NoteCases);

// What a note start leaves in voices the trace does not show: the one handed over, and a
// start offset waiting for the next note.

TEST(NoteVoices, ANoteOverASoundingVoiceHandsTheOldOneOverToFadeOut) {
    SequencerRun run(behaviourModule({"C-4 01 | C-4 01 | C-4 01"}));
    const std::vector<TickTrace> ticks = run.ticks(13);
    EXPECT_EQ(ticks[0].channels[0].voice, 0) << "an idle voice needs no hand-over";
    EXPECT_EQ(ticks[6].channels[0].voice, 32);
    EXPECT_EQ(ticks[12].channels[0].voice, 0);
    const Voice& old = player.voices[32];
    EXPECT_NE(old.sample, nullptr) << "the old voice plays on while it ramps out";
    EXPECT_EQ(old.gainLeft + old.gainRight, 0);
}

TEST(NoteVoices, SampleOffsetStartsInsideTheSampleAndPastItsEndRestartsNothing) {
    // 904 is 1024 frames: past the 1000-frame sample.
    SequencerRun run(behaviourModule({"C-4 01 .. 902 | --- .. .. 903", "C-4 01 .. 904"}));
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_EQ(ticks[0].channels[0].position, 512u);
    EXPECT_FALSE(ticks[0].channels[1].sounding);
    EXPECT_EQ(player.voices[ticks[6].channels[0].voice].startOffset, 768)
        << "without a note the offset waits for the next note start";
}

} // namespace
} // namespace omra::testing
