#pragma once

#include "records/channel.h"
#include "records/song.h"

// The per-tick pitch and volume modulations of a channel.
namespace omra {

// Sets this tick's period offset from the vibrato position; callers move the position.
void vibrato(Channel& channel);
// Moves the vibrato position by its speed, wrapping within -32..31.
void advanceVibrato(Channel& channel);
// Sets this tick's volume offset from the tremolo position, held so the volume stays within
// 0..64, and moves the position.
void tremolo(Channel& channel);
// Silences the channel during the off ticks of its on/off cycle.
void tremor(Channel& channel);
// Slides the period toward the portamento target without passing it.
void tonePortamento(Channel& channel);
// Adds the instrument's auto-vibrato to this tick's period offset; runs on every tick.
void autoVibrato(Channel& channel, const Instrument& instrument);

} // namespace omra
