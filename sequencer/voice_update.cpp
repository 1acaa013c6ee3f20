#include "sequencer/voice_update.h"

#include "records/oddities.h"
#include "sequencer/pitch.h"

#include <algorithm>
#include <cstdlib>

namespace omra {

namespace {

constexpr std::int32_t FullGain = 255;

// Channel i plays on voice i or i + 32.
std::int32_t partnerIndex(std::int32_t index) {
    return index < xm::MaxChannels ? index + xm::MaxChannels : index - xm::MaxChannels;
}

// A note start: a voice that still sounds hands over to its partner and fades to silence.
void startNote(Channel& channel, const Sample& sample, VoicePool& voices) {
    if (channel.voice->sample != nullptr) {
        Voice& old = *channel.voice;
        Voice& fresh = voices[partnerIndex(old.index)];
        const std::int32_t freshIndex = fresh.index;
        fresh = old;
        fresh.index = freshIndex;
        old.volume = 0;
        old.gainLeft = 0;
        old.gainRight = 0;
        channel.voice = &fresh;
    }
    Voice& voice = *channel.voice;
    voice.sample = &sample;
    if (static_cast<std::uint32_t>(voice.startOffset) >= sample.loopStart + sample.loopLength) {
        voice.startOffset = 0;
    }
    voice.position = static_cast<std::uint32_t>(voice.startOffset);
    voice.positionFraction = 0;
    voice.direction = Forward;
    voice.startOffset = 0;
    // The note ramps in from silence.
    voice.levelLeft = 0;
    voice.levelRight = 0;
    voice.rampFrames = 0;
}

} // namespace

std::int32_t finalVolume(const Channel& channel, const Song& song) {
    // 64 x 64 x 65536 x 64 x 255 still fits 64 bits; dividing by 2^35 maps full scale to 127.
    const std::int64_t product = std::int64_t{channel.volume + channel.volumeOffset} *
                                 channel.volumeEnvelopeOutput * channel.fadeoutVolume *
                                 song.globalVolume * FullGain;
    return static_cast<std::int32_t>(product / (std::int64_t{1} << 35));
}

std::int32_t finalPanning(const Channel& channel) {
    const std::int64_t panning = channel.panning;
    const std::int64_t room = (128 - std::abs(panning - 128)) / 32;
    const std::int64_t moved = panning + room * (channel.panningEnvelopeOutput - 32);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(moved, 0, FullGain));
}

void setVoiceGains(Voice& voice) {
    voice.gainLeft = (FullGain - voice.panning) * voice.volume / FullGain;
    voice.gainRight = voice.panning * voice.volume / FullGain;
}

void updateVoice(Channel& channel, const Sample& sample, const Song& song, VoicePool& voices) {
    if (std::int64_t{channel.period} + channel.periodOffset == 0) {
        channel.updateFlags &= ~PitchChanged;
    }
    if ((channel.updateFlags & Trigger) != 0) {
        startNote(channel, sample, voices);
    }
    Voice& voice = *channel.voice;
    if ((channel.updateFlags & VolumeChanged) != 0) {
        voice.volume = finalVolume(channel, song);
        setVoiceGains(voice);
    }
    if ((channel.updateFlags & PanningChanged) != 0) {
        voice.panning = finalPanning(channel);
        setVoiceGains(voice);
    }
    std::int32_t frequency = 0;
    if ((channel.updateFlags & PitchChanged) != 0 &&
        periodFrequency(song, channel.period, channel.periodOffset, frequency)) {
        setVoiceFrequency(voice, frequency);
        // Oddity: Amiga periods divide 14317056, not 8363 x 1712 = 14317456, so C-4 plays at
        // 8362 Hz. Kept: Amiga-period tunes were tuned against this pitch.
        // Pinned by: Pitch.MiddleCPlaysAt8363HzOnLinearAnd8362HzOnAmigaPeriods.
        // Reported, at the tune's first note, as "Amiga periods: every note plays...".
        if (odditiesWatched() && (channel.updateFlags & Trigger) != 0 &&
            (song.flags & xm::LinearFrequencyTable) == 0) {
            reportOddity(Oddity::AmigaClock, &channel, frequency);
        }
    }
    if ((channel.updateFlags & ResetPosition) != 0) {
        voice.position = 0;
        voice.positionFraction = 0;
        voice.startOffset = 0;
    }
}

} // namespace omra
