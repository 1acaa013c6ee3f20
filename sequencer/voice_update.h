#pragma once

#include "records/channel.h"
#include "records/song.h"
#include "records/voice.h"

#include <cstdint>

// Turns a channel's state into the settings of its voice at the end of every tick.
namespace omra {

// The voice's loudness 0..127 from the channel volume and its modulations, both envelopes'
// factors, the fadeout and the song's global volume.
std::int32_t finalVolume(const Channel& channel, const Song& song);

// The channel panning moved by the panning envelope, the further from the sides the more,
// held to 0..255.
std::int32_t finalPanning(const Channel& channel);

// Sets the voice's two gains from its volume and panning: 0 is fully left, 255 fully right.
void setVoiceGains(Voice& voice);

// Pushes what the tick changed (the channel's update flags) to the channel's voice: note start,
// volume, panning, pitch and position reset, in that order. A note start over a sounding voice
// moves the channel to the partner voice, leaving the old one to ramp out.
void updateVoice(Channel& channel, const Sample& sample, const Song& song, VoicePool& voices);

} // namespace omra
