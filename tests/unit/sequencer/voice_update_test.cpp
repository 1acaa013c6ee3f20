#include "records/channel.h"
#include "records/mix_constants.h"
#include "records/song.h"
#include "records/voice.h"
#include "sequencer/voice_update.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace omra {
namespace {

constexpr std::uint32_t fractionOf(std::uint64_t frequency) {
    return static_cast<std::uint32_t>(((frequency % MixRate) << 32) / MixRate);
}

class VoiceUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < VoiceCount; ++i) {
            voices[static_cast<std::size_t>(i)].index = i;
        }
        song.flags = xm::LinearFrequencyTable;
        song.globalVolume = 64;
        channel.voice = &voices[5];
        channel.volumeEnvelopeOutput = 64;
        channel.fadeoutVolume = 65536;
        channel.panningEnvelopeOutput = 32;
        newSample.loopStart = 20;
        newSample.loopLength = 30;
    }

    void update(std::uint8_t flags) {
        channel.updateFlags = flags;
        updateVoice(channel, newSample, song, voices);
    }

    // Voice 5 in the middle of a note.
    void makeSounding() {
        Voice& voice = voices[5];
        voice.sample = &oldSample;
        voice.position = 1234;
        voice.positionFraction = 77;
        voice.step = 1;
        voice.stepFraction = 999;
        voice.frequency = 8363;
        voice.volume = 100;
        voice.panning = 128;
        voice.gainLeft = 80;
        voice.gainRight = 90;
        voice.levelLeft = 5000;
        voice.levelRight = 6000;
        voice.rampFrames = 12;
        voice.direction = Backward;
        voice.startOffset = 10;
    }

    VoicePool voices{};
    Song song;
    Channel channel{};
    Sample oldSample;
    Sample newSample;
};

TEST_F(VoiceUpdate, LoudnessIsTheProductOfTheVolumesScaledTo127) {
    // 64 x 64 x 65536 x 64 = 2^34; x 255 / 2^35 = 127.5.
    channel.volume = 64;
    EXPECT_EQ(finalVolume(channel, song), 127);
    // 2^33 x 255 / 2^35 = 63.75.
    channel.volume = 32;
    EXPECT_EQ(finalVolume(channel, song), 63);
    channel.volume = 60;
    channel.volumeOffset = 4;
    EXPECT_EQ(finalVolume(channel, song), 127);
    channel.volumeOffset = -60;
    EXPECT_EQ(finalVolume(channel, song), 0);
    channel.volume = 64;
    channel.volumeOffset = 0;
    song.globalVolume = 32;
    EXPECT_EQ(finalVolume(channel, song), 63);
}

TEST_F(VoiceUpdate, ThePanningEnvelopeMovesThePanningAsFarAsTheSideAllows) {
    channel.panning = 128;
    channel.panningEnvelopeOutput = 64;
    EXPECT_EQ(finalPanning(channel), 255); // 128 + 4 x 32 = 256
    channel.panningEnvelopeOutput = 0;
    EXPECT_EQ(finalPanning(channel), 0); // 128 - 4 x 32
    channel.panning = 100;
    channel.panningEnvelopeOutput = 64;
    EXPECT_EQ(finalPanning(channel), 196); // (128 - 28) / 32 = 3; 100 + 3 x 32
    channel.panningEnvelopeOutput = 0;
    EXPECT_EQ(finalPanning(channel), 4);
    channel.panning = 0;
    channel.panningEnvelopeOutput = 64;
    EXPECT_EQ(finalPanning(channel), 0); // no room at the side
    channel.panning = 200;
    channel.panningEnvelopeOutput = 32;
    EXPECT_EQ(finalPanning(channel), 200);
}

TEST_F(VoiceUpdate, PanningZeroIsFullyLeftAnd255FullyRight) {
    channel.volume = 64;
    Voice& voice = voices[5];
    voice.panning = 0;
    update(VolumeChanged);
    EXPECT_EQ(voice.volume, 127);
    EXPECT_EQ(voice.gainLeft, 127);
    EXPECT_EQ(voice.gainRight, 0);
    voice.panning = 255;
    update(VolumeChanged);
    EXPECT_EQ(voice.gainLeft, 0);
    EXPECT_EQ(voice.gainRight, 127);
    voice.panning = 128;
    update(VolumeChanged);
    EXPECT_EQ(voice.gainLeft, 63);  // 127 x 127 / 255 = 63.3
    EXPECT_EQ(voice.gainRight, 63); // 128 x 127 / 255 = 63.7
}

TEST_F(VoiceUpdate, PanningChangeSetsTheGains) {
    Voice& voice = voices[5];
    voice.volume = 127;
    channel.panning = 100;
    channel.panningEnvelopeOutput = 64;
    update(PanningChanged);
    EXPECT_EQ(voice.panning, 196);
    EXPECT_EQ(voice.gainLeft, 29);  // 59 x 127 / 255 = 29.4
    EXPECT_EQ(voice.gainRight, 97); // 196 x 127 / 255 = 97.6
}

TEST_F(VoiceUpdate, APitchChangeSetsTheFrequencyAndTheStep) {
    Voice& voice = voices[5];
    channel.period = 4608;
    update(PitchChanged);
    EXPECT_EQ(voice.frequency, 8363);
    EXPECT_EQ(voice.step, 0u);
    EXPECT_EQ(voice.stepFraction, (std::uint64_t{8363} << 32) / 44100);

    // 8363 / 128 = 65.3 Hz is kept but stepped as 100 Hz.
    channel.period = 4608 + 7 * 768;
    update(PitchChanged);
    EXPECT_EQ(voice.frequency, 65);
    EXPECT_EQ(voice.stepFraction, fractionOf(100));
}

TEST_F(VoiceUpdate, ZeroPeriodDropsThePitchUpdate) {
    Voice& voice = voices[5];
    voice.frequency = 1234;
    voice.step = 3;
    voice.stepFraction = 5;
    for (const std::uint16_t flags : {xm::LinearFrequencyTable, std::uint16_t{0}}) {
        song.flags = flags;
        channel.period = 500;
        channel.periodOffset = -500;
        update(PitchChanged | VolumeChanged);
        EXPECT_EQ(channel.updateFlags, VolumeChanged);
        EXPECT_EQ(voice.frequency, 1234);
        EXPECT_EQ(voice.step, 3u);
        EXPECT_EQ(voice.stepFraction, 5u);
    }
}

TEST_F(VoiceUpdate, NoteStartOnSoundingVoiceMovesToThePartner) {
    makeSounding();
    update(Trigger);
    ASSERT_EQ(channel.voice, &voices[37]);
    const Voice& fresh = voices[37];
    EXPECT_EQ(fresh.index, 37);
    EXPECT_EQ(fresh.sample, &newSample);
    EXPECT_EQ(fresh.position, 10u); // the pending start offset
    EXPECT_EQ(fresh.positionFraction, 0u);
    EXPECT_EQ(fresh.startOffset, 0);
    EXPECT_EQ(fresh.direction, Forward);
    EXPECT_EQ(fresh.levelLeft, 0);
    EXPECT_EQ(fresh.levelRight, 0);
    EXPECT_EQ(fresh.rampFrames, 0);
    EXPECT_EQ(fresh.stepFraction, 999u); // the rest of the record comes along
    EXPECT_EQ(fresh.gainRight, 90);

    // The old voice plays on toward silence.
    const Voice& old = voices[5];
    EXPECT_EQ(old.index, 5);
    EXPECT_EQ(old.sample, &oldSample);
    EXPECT_EQ(old.position, 1234u);
    EXPECT_EQ(old.positionFraction, 77u);
    EXPECT_EQ(old.step, 1u);
    EXPECT_EQ(old.stepFraction, 999u);
    EXPECT_EQ(old.volume, 0);
    EXPECT_EQ(old.gainLeft, 0);
    EXPECT_EQ(old.gainRight, 0);

    // The next note start goes back from 37 to 5.
    update(Trigger);
    EXPECT_EQ(channel.voice, &voices[5]);
    EXPECT_EQ(voices[5].index, 5);
    EXPECT_EQ(voices[5].sample, &newSample);
    EXPECT_EQ(voices[37].gainRight, 0);
}

TEST_F(VoiceUpdate, NoteStartSetsTheNewVoiceOnly) {
    makeSounding();
    channel.volume = 64;
    channel.period = 4608;
    update(Trigger | VolumeChanged | PitchChanged);
    EXPECT_EQ(voices[37].gainLeft, 63);
    EXPECT_EQ(voices[37].gainRight, 63);
    EXPECT_EQ(voices[37].stepFraction, fractionOf(8363));
    EXPECT_EQ(voices[5].gainLeft, 0);
    EXPECT_EQ(voices[5].gainRight, 0);
    EXPECT_EQ(voices[5].stepFraction, 999u);
}

TEST_F(VoiceUpdate, NoteStartOnIdleVoiceStays) {
    voices[5].startOffset = 49; // just inside the loop end, 20 + 30
    voices[5].positionFraction = 3;
    update(Trigger);
    EXPECT_EQ(channel.voice, &voices[5]);
    EXPECT_EQ(voices[5].sample, &newSample);
    EXPECT_EQ(voices[5].position, 49u);
    EXPECT_EQ(voices[5].positionFraction, 0u);
    EXPECT_EQ(voices[37].sample, nullptr);
}

TEST_F(VoiceUpdate, StartOffsetAtTheLoopEndStartsFromZero) {
    voices[5].startOffset = 50;
    update(Trigger);
    EXPECT_EQ(voices[5].position, 0u);
    EXPECT_EQ(voices[5].startOffset, 0);
}

TEST_F(VoiceUpdate, APositionResetRewindsASoundingVoiceAndLeavesAnIdleOneIdle) {
    Voice& voice = voices[5];
    voice.position = 5;
    voice.positionFraction = 6;
    voice.startOffset = 7;
    update(ResetPosition);
    EXPECT_EQ(voice.sample, nullptr); // an idle voice stays idle
    EXPECT_EQ(voice.position, 0u);
    EXPECT_EQ(voice.positionFraction, 0u);
    EXPECT_EQ(voice.startOffset, 0);

    makeSounding();
    update(ResetPosition);
    EXPECT_EQ(channel.voice, &voices[5]);
    EXPECT_EQ(voice.sample, &oldSample);
    EXPECT_EQ(voice.position, 0u);
    EXPECT_EQ(voice.stepFraction, 999u);
    EXPECT_EQ(voice.gainLeft, 80);
}

} // namespace
} // namespace omra
