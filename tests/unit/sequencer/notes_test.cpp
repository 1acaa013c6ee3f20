#include "records/player_state.h"
#include "unit/sequencer/sequencer_harness.h"

#include <gtest/gtest.h>

namespace omra::testing {
namespace {

using tools::XmModule;

// Volume 48 of 64, envelope 64, full fadeout and global volume: 48 x 64 x 65536 x 64 x 255 / 2^35.
constexpr std::int32_t SampleVolumeLoudness = 95;

TEST(Notes, ANoteWithAnInstrumentStartsTheSampleAtItsPitchAndVolume) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    SequencerRun run(module);
    const ChannelTrace& c = run.tick().channels[0];
    EXPECT_TRUE(c.sounding);
    EXPECT_EQ(c.period, 4608);
    EXPECT_EQ(c.frequency, 8363);
    EXPECT_EQ(c.volume, 48);
    EXPECT_EQ(player.voices[c.voice].volume, SampleVolumeLoudness);
}

TEST(Notes, OnlyAnInstrumentNumberResetsVolumeAndOnlyANoteRestartsTheSample) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0C, 0x20};
    cell(module, 0, 1, 0) = {C4 + 2, 0, 0, 0, 0};
    cell(module, 0, 2, 0) = {0, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(13);
    EXPECT_EQ(ticks[0].channels[0].volume, 32);
    // Row 1: a note alone restarts (on the partner voice) and keeps the volume.
    EXPECT_EQ(ticks[6].channels[0].volume, 32);
    EXPECT_NE(ticks[6].channels[0].voice, ticks[0].channels[0].voice);
    // Row 2: an instrument alone resets the volume and leaves the sample playing where it is.
    EXPECT_EQ(ticks[12].channels[0].volume, 48);
    EXPECT_EQ(ticks[12].channels[0].voice, ticks[6].channels[0].voice);
    EXPECT_EQ(ticks[12].channels[0].period, 4608 - 2 * 64);
}

TEST(Notes, AReleasedNoteWithoutVolumeEnvelopeIsSilentUntilTheNextInstrumentNumber) {
    XmModule module = behaviourModule(1, 8);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 1, 0) = {KeyOffCell, 0, 0, 0, 0};
    cell(module, 0, 2, 0) = {C4, 0, 0, 0, 0};
    cell(module, 0, 3, 0) = {C4, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(19);
    EXPECT_GT(ticks[5].channels[0].gainLeft, 0);
    EXPECT_TRUE(ticks[6].channels[0].keyOff);
    EXPECT_EQ(ticks[6].channels[0].volumeEnvelope, 0);
    EXPECT_EQ(ticks[6].channels[0].gainLeft + ticks[6].channels[0].gainRight, 0);
    EXPECT_EQ(ticks[12].channels[0].gainLeft + ticks[12].channels[0].gainRight, 0)
        << "a note without an instrument number stays released";
    EXPECT_FALSE(ticks[18].channels[0].keyOff);
    EXPECT_GT(ticks[18].channels[0].gainLeft, 0) << "an instrument number sounds again";
}

TEST(Notes, AKeyOffBesideAnInstrumentNumberReleasesAfterTheReset) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 1, 0) = {KeyOffCell, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_TRUE(ticks[6].channels[0].keyOff);
    EXPECT_EQ(ticks[6].channels[0].volumeEnvelope, 0);
}

TEST(Notes, ASustainedEnvelopeHoldsUntilKeyOffThenFadesOut) {
    XmModule module = behaviourModule(1, 8);
    tools::XmInstrument& instrument = module.instruments[0];
    // Up to 40 at tick 2, sustain there, down to 8 at tick 6.
    instrument.volumeEnvelope.points = {{0, 64}, {2, 40}, {6, 8}};
    instrument.volumeEnvelope.sustainPoint = 1;
    instrument.volumeEnvelope.flags = 1 | 2;
    instrument.fadeout = 2048; // the player doubles the stored rate: 4096 per tick
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 2, 0) = {KeyOffCell, 0, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(18);
    EXPECT_EQ(ticks[0].channels[0].volumeEnvelope, 64);
    EXPECT_EQ(ticks[1].channels[0].volumeEnvelope, 52); // halfway down a slope of -12 per tick
    for (int i = 2; i < 12; ++i) {
        EXPECT_EQ(ticks[i].channels[0].volumeEnvelope, 40) << "tick " << i;
        EXPECT_EQ(ticks[i].channels[0].fadeout, 65536) << "tick " << i;
    }
    // Released on tick 12: the envelope leaves the sustain point, the fadeout starts at once.
    EXPECT_EQ(ticks[12].channels[0].volumeEnvelope, 40);
    EXPECT_EQ(ticks[12].channels[0].fadeout, 65536 - 4096);
    EXPECT_EQ(ticks[13].channels[0].volumeEnvelope, 32);
    EXPECT_EQ(ticks[13].channels[0].fadeout, 65536 - 2 * 4096);
    EXPECT_EQ(ticks[16].channels[0].volumeEnvelope, 8);
    EXPECT_EQ(ticks[17].channels[0].volumeEnvelope, 8);
}

TEST(Notes, ALoopedEnvelopeRepeatsAndLPlacesItMidSegment) {
    XmModule module = behaviourModule(1, 8);
    tools::XmInstrument& instrument = module.instruments[0];
    instrument.volumeEnvelope.points = {{0, 0}, {4, 64}, {8, 0}};
    instrument.volumeEnvelope.loopStart = 0;
    instrument.volumeEnvelope.loopEnd = 2;
    instrument.volumeEnvelope.flags = 1 | 4;
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 3, 0) = effectCell(21, 2); // L02: halfway up the first segment
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(19);
    std::vector<int> envelope;
    for (int i = 0; i < 17; ++i) {
        envelope.push_back(ticks[i].channels[0].volumeEnvelope);
    }
    EXPECT_EQ(envelope,
              (std::vector<int>{0, 16, 32, 48, 64, 48, 32, 16, 0, 16, 32, 48, 64, 48, 32, 16, 0}))
        << "the loop end is the last point, so the envelope never finishes";
    EXPECT_EQ(ticks[18].channels[0].volumeEnvelope, 32);
}

TEST(Notes, ADelayedNoteStartsOnItsTickAndNotAtAllPastTheRow) {
    XmModule module = behaviourModule(3, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0x20, 0x0E, 0xD3};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0x0E, 0xD0};
    cell(module, 0, 0, 2) = {C4, 1, 0, 0x0E, 0xD7};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(6);
    EXPECT_FALSE(ticks[2].channels[0].sounding);
    EXPECT_TRUE(ticks[3].channels[0].sounding);
    EXPECT_EQ(player.voices[ticks[3].channels[0].voice].volume, 31)
        << "the volume column acts again when the note starts: 16 x 64 x 65536 x 64 x 255 / 2^35";
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(ticks[i].channels[1].sounding) << "ED0 never starts, tick " << i;
        EXPECT_FALSE(ticks[i].channels[2].sounding) << "ED7 past a 6-tick row, tick " << i;
    }
}

TEST(Notes, TonePortamentoSlidesToTheNoteOnThePlayingSample) {
    XmModule module = behaviourModule(1, 4);
    tools::XmSample other = loopingSample();
    other.relativeNote = 12;
    other.volume = 20;
    module.instruments.push_back(instrumentWith(other));
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x0C, 0x10};
    cell(module, 0, 1, 0) = {C4 + 4, 2, 0, 0x03, 0x10};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(12);
    const ChannelTrace& start = ticks[6].channels[0];
    EXPECT_EQ(start.voice, ticks[0].channels[0].voice) << "no restart";
    EXPECT_EQ(start.period, 4608);
    EXPECT_EQ(start.instrument, 0) << "the playing instrument stays";
    EXPECT_EQ(start.volume, 48) << "the instrument number resets from the playing sample";
    // 4 semitones up on the playing sample (no relative note): 4608 - 256, 64 per tick.
    EXPECT_EQ(ticks[7].channels[0].period, 4608 - 64);
    EXPECT_EQ(ticks[10].channels[0].period, 4608 - 256);
    EXPECT_EQ(ticks[11].channels[0].period, 4608 - 256);
}

TEST(Notes, ColumnTonePortamentoChangesPitchAtOnceWithoutRestart) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 1, 0) = {C4 + 4, 0, 0xF2, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_EQ(ticks[6].channels[0].voice, ticks[0].channels[0].voice);
    EXPECT_EQ(ticks[6].channels[0].period, 4608 - 256);
}

TEST(Notes, ANoteOverASoundingVoiceHandsTheOldOneOverToFadeOut) {
    XmModule module = behaviourModule(1, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 1, 0) = {C4, 1, 0, 0, 0};
    cell(module, 0, 2, 0) = {C4, 1, 0, 0, 0};
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(13);
    EXPECT_EQ(ticks[0].channels[0].voice, 0) << "an idle voice needs no hand-over";
    EXPECT_EQ(ticks[6].channels[0].voice, 32);
    EXPECT_EQ(ticks[12].channels[0].voice, 0);
    const Voice& old = player.voices[32];
    EXPECT_NE(old.sample, nullptr) << "the old voice plays on while it ramps out";
    EXPECT_EQ(old.gainLeft + old.gainRight, 0);
}

TEST(Notes, SampleOffsetStartsInsideTheSampleAndPastItsEndRestartsNothing) {
    XmModule module = behaviourModule(2, 4);
    cell(module, 0, 0, 0) = {C4, 1, 0, 0x09, 0x02};
    cell(module, 0, 0, 1) = {C4, 1, 0, 0x09, 0x04}; // 1024 frames: past the 1000-frame sample
    cell(module, 0, 1, 0) = effectCell(0x09, 0x03);
    SequencerRun run(module);
    const std::vector<TickTrace> ticks = run.ticks(7);
    EXPECT_EQ(ticks[0].channels[0].position, 512u);
    EXPECT_FALSE(ticks[0].channels[1].sounding);
    EXPECT_EQ(player.voices[ticks[6].channels[0].voice].startOffset, 768)
        << "without a note the offset waits for the next note start";
}

} // namespace
} // namespace omra::testing
