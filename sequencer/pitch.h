#pragma once

#include "records/song.h"
#include "records/voice.h"

#include <cstdint>

// Periods and frequencies for both of the module format's frequency tables.
namespace omra {

// The period of a 0-based note with a finetune in 1/128 semitones, on the linear table.
std::int32_t linearPeriod(std::int32_t note, std::int32_t finetune);

// The same on the Amiga table: interpolated between the periods of neighbouring notes.
std::int32_t amigaPeriod(std::int32_t note, std::int32_t finetune);

// The period of a note on the song's own table.
std::int32_t notePeriod(const Song& song, std::int32_t note, std::int32_t finetune);

// The period offset that raises a note by `semitones` on the song's table.
std::int32_t semitoneOffset(const Song& song, std::int32_t note, std::int32_t finetune,
                            std::int32_t semitones);

// The frequency in Hz of a period with this tick's offset; false, and no frequency, when the
// two add up to 0.
bool periodFrequency(const Song& song, std::int32_t period, std::int32_t periodOffset,
                     std::int32_t& frequency);

// Stores the frequency in the voice and sets its 32.32 step at the mixing rate. The step never
// falls below that of 100 Hz.
void setVoiceFrequency(Voice& voice, std::int32_t frequency);

} // namespace omra
